// Runs a fuzz target over stored inputs without the fuzzing engine, so the normal and the
// sanitizer builds replay every corpus file as an ordinary test. A target reports a fault by
// aborting, which fails the test.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *Argc, char ***Argv);

namespace fs = std::filesystem;

int main(int argc, char *argv[])
{
    if (LLVMFuzzerInitialize != nullptr)
        LLVMFuzzerInitialize(&argc, &argv);
    std::vector<fs::path> Inputs;
    for (int I = 1; I < argc; ++I) {
        const fs::path Arg(argv[I]);
        if (fs::is_directory(Arg)) {
            for (const fs::directory_entry &Entry : fs::directory_iterator(Arg))
                if (Entry.is_regular_file())
                    Inputs.push_back(Entry.path());
        } else {
            Inputs.push_back(Arg);
        }
    }
    std::sort(Inputs.begin(), Inputs.end());
    if (Inputs.empty()) {
        std::fputs("no inputs\n", stderr);
        return 1;
    }
    for (const fs::path &Input : Inputs) {
        std::ifstream In(Input, std::ios::binary);
        const std::vector<char> Bytes(
            (std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
        if (!In.eof() && In.fail()) {
            std::fprintf(stderr, "cannot read %s\n", Input.c_str());
            return 1;
        }
        // A buffer of exactly the input's size, so that the sanitizer sees any read past it.
        std::vector<std::uint8_t> Exact(Bytes.begin(), Bytes.end());
        std::printf("%s (%zu bytes)\n", Input.filename().c_str(), Exact.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(Exact.data(), Exact.size());
    }
    std::printf("%zu inputs replayed\n", Inputs.size());
    return 0;
}
