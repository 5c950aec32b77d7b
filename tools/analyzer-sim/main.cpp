// kivra-analyzer-sim: a stand-in for the antenna analyzer on a pseudo terminal, so that
// KIVRA can be tried, and tested, without the hardware.

#include "AnalyzerModel.h"
#include "platform/Parse.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

const char *const kUsage = R"(Usage: kivra-analyzer-sim [options]

Simulates the antenna analyzer on a pseudo terminal. The terminal's device is published
as the link ports/COMn in KIVRA's configuration folder ($XDG_CONFIG_HOME/kivra, or
~/.config/kivra), where KIVRA looks for its COM ports. The first line of output is the
device path and the link. The link is removed when the simulator ends (Ctrl+C, SIGTERM).
An existing link (to a serial adapter, say) is never replaced: choose another name with
--port and select that port in KIVRA's configuration.

The analyzer takes the command "Start Stop Step " followed by a carriage return, with
frequency codes in 10 kHz units, 100 <= Start < Stop <= 3000 and Step >= 1, and answers
with one line "F R X" and a carriage return per step: F in kHz, R and X in whole ohms.
Anything else gets no answer; a new command abandons a running sweep.

Options:
  --port COMn      link name (default COM9, where a fresh configuration looks)
  --baud N         pace replies as an N baud 8N1 line would (default 4800);
                   0 sends at once
  --load KIND      the load on the bridge (default dipole):
                     dummy   50 ohm resistor with a small series inductance
                     rlc     series R-L-C resonant at --f0 with quality --q
                     dipole  centre-fed wire antenna, resonant near the odd
                             multiples of its half-wave frequency --f0
                     open    coaxial cable of --length m, open at the far end
                     short   the same cable shorted at the far end
  --f0 MHz         dipole half-wave frequency, R-L-C resonance (default 1.9)
  --q Q            R-L-C quality (default 10)
  --r OHMS         R-L-C resistance (default 50)
  --length M       cable length in metres (default 10)
  --vf VF          cable velocity factor (default 0.66)
  --z0 OHMS        cable characteristic impedance (default 50)
  --noise OHMS     standard deviation of Gaussian noise on R and X (default 0)
  --seed N         noise seed (default 1)
  --log            print "sweep Start Stop Step" for every command answered
  --help           this text
)";

volatile std::sig_atomic_t StopRequested = 0;

extern "C" void OnStopSignal(int) { StopRequested = 1; }

struct TOptions
{
    std::string Port = "COM9";
    long Baud = 4800;
    bool Log = false;
    TLoadParams Load;
};

bool Fail(const std::string &Message)
{
    std::fprintf(stderr, "kivra-analyzer-sim: %s\n", Message.c_str());
    return false;
}

bool ParseDouble(const std::string &Name, const std::string &Text, double &Value, double Min)
{
    if (!TryStrToFloat(Text, Value) || !(Value >= Min))
        return Fail("invalid value for " + Name + ": " + Text);
    return true;
}

bool ParseOptions(int Argc, char **Argv, TOptions &Options, bool &Help)
{
    std::vector<std::string> Args(Argv + 1, Argv + Argc);
    for (std::size_t i = 0; i < Args.size(); ++i) {
        std::string Name = Args[i];
        std::string Value;
        bool HasValue = false;
        const auto Equals = Name.find('=');
        if (Equals != std::string::npos) {
            Value = Name.substr(Equals + 1);
            Name.erase(Equals);
            HasValue = true;
        }
        if (Name == "--help" || Name == "-h") {
            Help = true;
            return true;
        }
        if (Name == "--log" && !HasValue) {
            Options.Log = true;
            continue;
        }
        static const char *const Known[] = { "--port", "--baud", "--load", "--f0", "--q", "--r",
            "--length", "--vf", "--z0", "--noise", "--seed" };
        if (std::find(std::begin(Known), std::end(Known), Name) == std::end(Known))
            return Fail("unknown option: " + Name + " (see --help)");
        if (!HasValue) {
            if (i + 1 >= Args.size())
                return Fail("missing value for " + Name);
            Value = Args[++i];
        }
        if (Name == "--port") {
            int Number = 0;
            if (Value.size() < 4 || Value.compare(0, 3, "COM") != 0
                || !TryStrToInt(Value.substr(3), Number) || Number < 1 || Value[3] == '+'
                || Value[3] == '0')
                return Fail("invalid port: " + Value + " (expected COM1, COM2, ...)");
            Options.Port = Value;
        } else if (Name == "--baud") {
            int Baud = 0;
            if (!TryStrToInt(Value, Baud) || Baud < 0)
                return Fail("invalid baud rate: " + Value);
            Options.Baud = Baud;
        } else if (Name == "--load") {
            if (!ParseLoadKind(Value, Options.Load.Kind))
                return Fail("unknown load: " + Value);
        } else if (Name == "--f0") {
            if (!ParseDouble(Name, Value, Options.Load.F0MHz, 1e-3))
                return false;
        } else if (Name == "--q") {
            if (!ParseDouble(Name, Value, Options.Load.Q, 1e-3))
                return false;
        } else if (Name == "--r") {
            if (!ParseDouble(Name, Value, Options.Load.ROhm, 0))
                return false;
        } else if (Name == "--length") {
            if (!ParseDouble(Name, Value, Options.Load.LengthM, 1e-3))
                return false;
        } else if (Name == "--vf") {
            if (!ParseDouble(Name, Value, Options.Load.Vf, 1e-3))
                return false;
        } else if (Name == "--z0") {
            if (!ParseDouble(Name, Value, Options.Load.Z0Ohm, 1e-3))
                return false;
        } else if (Name == "--noise") {
            if (!ParseDouble(Name, Value, Options.Load.NoiseOhm, 0))
                return false;
        } else if (Name == "--seed") {
            int Seed = 0;
            if (!TryStrToInt(Value, Seed))
                return Fail("invalid seed: " + Value);
            Options.Load.Seed = static_cast<unsigned>(Seed);
        }
    }
    return true;
}

bool MakeDirs(const std::string &Path)
{
    std::string Partial;
    std::size_t Pos = 0;
    while (Pos != std::string::npos) {
        Pos = Path.find('/', Pos + 1);
        Partial = Path.substr(0, Pos);
        if (Partial.empty())
            continue;
        if (::mkdir(Partial.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

// Whether a dangling link was left by a simulator that could not remove it (killed, or the
// machine went down): it led to a pseudo terminal, and those are gone for good once closed.
// A link to a serial adapter that is merely unplugged never qualifies.
bool LeftByEarlierSimulator(const std::string &Target)
{
    return Target.compare(0, 9, "/dev/pts/") == 0;
}

// Publishes Device as Link. Any link the user made (to an adapter, plugged in or not) is
// theirs: the simulator only takes the place of a dead pseudo terminal link.
bool PublishLink(const std::string &Link, const std::string &Device, const std::string &Port)
{
    struct stat Info;
    if (::lstat(Link.c_str(), &Info) == 0) {
        const std::string Advice
            = "; not replacing it (publish the simulator under another name with --port, "
              "for example --port "
            + std::string(Port == "COM8" ? "COM7" : "COM8") + ")";
        if (!S_ISLNK(Info.st_mode))
            return Fail(Link + " exists and is not a link" + Advice);
        char Buffer[4096] = {};
        const ssize_t Length = ::readlink(Link.c_str(), Buffer, sizeof Buffer - 1);
        const std::string Target(Buffer, Length > 0 ? static_cast<std::size_t>(Length) : 0);
        struct stat TargetInfo;
        const bool Dangling = ::stat(Link.c_str(), &TargetInfo) != 0;
        if (!Dangling || !LeftByEarlierSimulator(Target))
            return Fail(Link + " already leads to " + Target
                + (Dangling ? " (not present now)" : "") + Advice);
        if (::unlink(Link.c_str()) != 0 && errno != ENOENT)
            return Fail("cannot remove the stale link " + Link + ": " + std::strerror(errno));
    }
    if (::symlink(Device.c_str(), Link.c_str()) != 0)
        return Fail("cannot create " + Link + ": " + std::strerror(errno));
    return true;
}

// Removes Link only while it still leads to our device.
void RemoveLink(const std::string &Link, const std::string &Device)
{
    char Buffer[4096] = {};
    const ssize_t Length = ::readlink(Link.c_str(), Buffer, sizeof Buffer - 1);
    if (Length > 0 && std::string(Buffer, static_cast<std::size_t>(Length)) == Device)
        ::unlink(Link.c_str());
}

double NowSeconds()
{
    timespec Now;
    ::clock_gettime(CLOCK_MONOTONIC, &Now);
    return static_cast<double>(Now.tv_sec) + static_cast<double>(Now.tv_nsec) * 1e-9;
}

void MakeRaw(int Fd)
{
    termios Settings;
    if (::tcgetattr(Fd, &Settings) == 0) {
        ::cfmakeraw(&Settings);
        ::tcsetattr(Fd, TCSANOW, &Settings);
    }
}

// The analyzer's side of the line: reads commands, sends sweeps at the line's pace.
class TSimulator
{
public:
    TSimulator(int MasterFd, const TOptions &Options)
        : Fd(MasterFd)
        , Model(Options.Load)
        , BytesPerSecond(static_cast<double>(Options.Baud) / 10.0)
        , Log(Options.Log)
    {
    }

    // Runs until a stop signal or until the terminal fails; returns the exit status.
    int Run()
    {
        sigset_t Unblocked;
        ::sigemptyset(&Unblocked);
        while (!StopRequested) {
            pollfd Poll = { Fd, POLLIN, 0 };
            if (!Output.empty() && ReadyToWrite())
                Poll.events |= POLLOUT;
            timespec Timeout;
            const timespec *TimeoutPtr = WaitTime(Timeout);
            const int Ready = ::ppoll(&Poll, 1, TimeoutPtr, &Unblocked);
            if (Ready < 0) {
                if (errno == EINTR)
                    continue;
                return Fail(std::string("poll: ") + std::strerror(errno)), 1;
            }
            if ((Poll.revents & POLLIN) != 0 && !ReadCommands())
                return 0;
            if ((Poll.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0
                && (Poll.revents & POLLIN) == 0)
                return 0;
            if (!WriteDue())
                return 0;
        }
        return 0;
    }

private:
    static constexpr std::size_t kMaxCommand = 64;
    // Bytes are handed over in small bursts, as a USB serial adapter does, rather than
    // waking for every single byte.
    static constexpr double kBurstSeconds = 0.010;

    // Whether a burst is due now; until then only input wakes the simulator.
    bool ReadyToWrite() const
    {
        return BytesPerSecond <= 0 || NowSeconds() >= NextByteTime + kBurstSeconds;
    }

    const timespec *WaitTime(timespec &Timeout) const
    {
        if (Output.empty() || ReadyToWrite())
            return nullptr; // wait for input, or for room to write
        const double Wait = std::max(NextByteTime + kBurstSeconds - NowSeconds(), 0.0);
        Timeout.tv_sec = static_cast<time_t>(Wait);
        Timeout.tv_nsec = static_cast<long>((Wait - static_cast<double>(Timeout.tv_sec)) * 1e9);
        return &Timeout;
    }

    bool ReadCommands()
    {
        char Buffer[512];
        const ssize_t Count = ::read(Fd, Buffer, sizeof Buffer);
        if (Count < 0)
            return errno == EAGAIN || errno == EINTR;
        if (Count == 0)
            return false;
        for (ssize_t i = 0; i < Count; ++i) {
            const char Byte = Buffer[i];
            if (Byte != '\r') {
                if (Command.size() < kMaxCommand)
                    Command += Byte;
                else
                    CommandTooLong = true;
                continue;
            }
            int Start = 0;
            int Stop = 0;
            int Step = 0;
            if (!CommandTooLong && ParseSweepCommand(Command, Start, Stop, Step))
                StartSweep(Start, Stop, Step);
            Command.clear();
            CommandTooLong = false;
        }
        return true;
    }

    void StartSweep(int Start, int Stop, int Step)
    {
        if (Log) {
            std::printf("sweep %d %d %d\n", Start, Stop, Step);
            std::fflush(stdout);
        }
        // The line being sent is finished; the lines after it belong to the new sweep.
        // Output holds whole lines only, so the one being sent ends at the first return.
        const auto LineEnd = Output.find('\r');
        if (LineEnd != std::string::npos)
            Output.erase(LineEnd + 1);
        Sweeping = true;
        NextCode = Start;
        StopCode = Stop;
        StepCode = Step;
        if (Output.empty())
            NextByteTime = std::max(NextByteTime, NowSeconds());
        FillOutput();
    }

    void FillOutput()
    {
        while (Sweeping && Output.size() < 256) {
            Output += Model.ReplyLine(NextCode);
            Output += '\r';
            if (StopCode - NextCode < StepCode)
                Sweeping = false;
            else
                NextCode += StepCode;
        }
    }

    bool WriteDue()
    {
        if (Output.empty())
            return true;
        std::size_t Allowed = Output.size();
        if (BytesPerSecond > 0) {
            const double Now = NowSeconds();
            if (Now < NextByteTime)
                return true;
            // After a stall (nobody reading) the line resumes at its own pace instead of
            // catching up.
            NextByteTime = std::max(NextByteTime, Now - 4 * kBurstSeconds);
            const double Due = (Now - NextByteTime) * BytesPerSecond + 1;
            Allowed = std::min(Allowed, static_cast<std::size_t>(Due));
        }
        const ssize_t Written = ::write(Fd, Output.data(), Allowed);
        if (Written < 0)
            return errno == EAGAIN || errno == EINTR;
        const auto Count = static_cast<std::size_t>(Written);
        Output.erase(0, Count);
        if (BytesPerSecond > 0)
            NextByteTime += static_cast<double>(Count) / BytesPerSecond;
        FillOutput();
        return true;
    }

    int Fd;
    TAnalyzerModel Model;
    double BytesPerSecond;
    bool Log;
    std::string Command;
    bool CommandTooLong = false;
    std::string Output;
    double NextByteTime = 0;
    bool Sweeping = false;
    int NextCode = 0;
    int StopCode = 0;
    int StepCode = 1;
};

} // namespace

int main(int Argc, char **Argv)
{
    TOptions Options;
    bool Help = false;
    if (!ParseOptions(Argc, Argv, Options, Help))
        return 2;
    if (Help) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    const int Master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (Master < 0 || ::grantpt(Master) != 0 || ::unlockpt(Master) != 0)
        return Fail(std::string("cannot create a pseudo terminal: ") + std::strerror(errno)), 1;
    const char *SlaveName = ::ptsname(Master);
    if (SlaveName == nullptr)
        return Fail("cannot name the pseudo terminal"), 1;
    const std::string Device = SlaveName;
    MakeRaw(Master);
    // Holding the program's side open keeps the terminal alive between the program's
    // sessions (otherwise every read here fails while the port is closed), and makes that
    // side raw before anyone opens it.
    const int Hold = ::open(Device.c_str(), O_RDWR | O_NOCTTY);
    if (Hold < 0)
        return Fail("cannot open " + Device + ": " + std::strerror(errno)), 1;
    MakeRaw(Hold);
    ::fcntl(Master, F_SETFL, ::fcntl(Master, F_GETFL) | O_NONBLOCK);

    const std::string PortsDir = KivraConfigDir() + "/ports";
    if (!MakeDirs(PortsDir))
        return Fail("cannot create " + PortsDir + ": " + std::strerror(errno)), 1;
    const std::string Link = PortsDir + "/" + Options.Port;

    struct sigaction Action = {};
    Action.sa_handler = OnStopSignal;
    ::sigemptyset(&Action.sa_mask);
    sigset_t Blocked;
    ::sigemptyset(&Blocked);
    for (const int Signal : { SIGINT, SIGTERM, SIGHUP }) {
        ::sigaction(Signal, &Action, nullptr);
        ::sigaddset(&Blocked, Signal);
    }
    // Signals arrive only inside ppoll, so none is lost between a check and a wait.
    ::sigprocmask(SIG_BLOCK, &Blocked, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    if (!PublishLink(Link, Device, Options.Port))
        return 1;
    std::printf("%s %s\n", Device.c_str(), Link.c_str());
    std::fflush(stdout);

    TSimulator Simulator(Master, Options);
    const int Status = Simulator.Run();
    RemoveLink(Link, Device);
    ::close(Hold);
    ::close(Master);
    return Status;
}
