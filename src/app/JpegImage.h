#pragma once

#include <QImage>

#include <cstddef>

// Decodes a JPEG picture with libjpeg. A damaged or unreadable picture, one libjpeg only
// warns about (cut short, corrupt data) and one larger than any picture of the program
// give a null image; nothing about it is shown or ends the program.
QImage DecodeJpeg(const unsigned char *Data, std::size_t Size);
