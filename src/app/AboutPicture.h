#pragma once

#include <cstddef>

// The about window's JPEG picture, built into the program from about.jpg.
extern const unsigned char AboutPictureJpeg[];
extern const std::size_t AboutPictureJpegSize;
