// Draws the picture of the about window: a dusk sky over a field, a dipole on its mast and
// the rings of an impedance chart rising behind it. Plain arithmetic per pixel, so the same
// source always gives the same picture; written as a baseline JPEG.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <vector>

namespace {

constexpr int kWidth = 368;
constexpr int kHeight = 268;

struct TRgb
{
    double R, G, B;
};

TRgb Mix(TRgb A, TRgb B, double T)
{
    return { A.R + (B.R - A.R) * T, A.G + (B.G - A.G) * T, A.B + (B.B - A.B) * T };
}

TRgb Pixel(int X, int Y)
{
    const double horizon = 200.0;
    TRgb c;
    if (Y < horizon) {
        c = Mix(TRgb { 20, 40, 110 }, TRgb { 250, 170, 90 }, Y / horizon);
    } else {
        c = Mix(TRgb { 40, 90, 40 }, TRgb { 15, 45, 20 }, (Y - horizon) / (kHeight - horizon));
    }

    // Rings of constant resistance, tangent at the right edge of a circle round the sun.
    const double cx = 184.0, cy = 200.0, radius = 150.0;
    for (double r : { 0.0, 0.5, 1.0, 2.0, 5.0 }) {
        const double ringR = radius / (1.0 + r);
        const double ringX = cx + radius - ringR;
        const double d = std::hypot(X - ringX, Y - cy);
        if (Y < horizon && std::fabs(d - ringR) < 0.9)
            c = Mix(c, TRgb { 255, 240, 210 }, 0.55);
    }

    // The mast and the two halves of the dipole, with their feed point.
    if (X >= 182 && X <= 185 && Y >= 40 && Y < horizon + 6)
        c = TRgb { 30, 30, 35 };
    if (Y >= 38 && Y <= 40 && X >= 104 && X <= 264 && std::abs(X - 183) > 2)
        c = TRgb { 200, 120, 40 };
    if (std::hypot(X - 183.5, Y - 39.0) < 4.0)
        c = TRgb { 230, 230, 230 };
    return c;
}

} // namespace

int main(int Argc, char **Argv)
{
    if (Argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.jpg\n", Argv[0]);
        return 2;
    }
    FILE *out = std::fopen(Argv[1], "wb");
    if (!out) {
        std::perror(Argv[1]);
        return 1;
    }
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 70, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(kWidth * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < kWidth; ++x) {
            const TRgb c = Pixel(x, y);
            row[x * 3 + 0] = static_cast<JSAMPLE>(std::lround(c.R));
            row[x * 3 + 1] = static_cast<JSAMPLE>(std::lround(c.G));
            row[x * 3 + 2] = static_cast<JSAMPLE>(std::lround(c.B));
        }
        JSAMPROW rows[] = { row.data() };
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(out) == 0 ? 0 : 1;
}
