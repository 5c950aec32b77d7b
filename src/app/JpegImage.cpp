#include "app/JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

// Far above the about picture, far below what a forged header could make us allocate.
constexpr JDIMENSION kMaxSide = 4096;

struct TErrorManager
{
    jpeg_error_mgr Pub;
    std::jmp_buf Jump;
};

[[noreturn]] void OnError(j_common_ptr Info)
{
    std::longjmp(reinterpret_cast<TErrorManager *>(Info->err)->Jump, 1);
}

// Warnings are counted by libjpeg and judged after decoding; their texts are not wanted.
void OnOutput(j_common_ptr) { }

// libjpeg reports errors by a jump back into this frame, so nothing in it may need a
// destructor: the image is reached through a pointer and filled row by row.
bool DecodeInto(const unsigned char *Data, std::size_t Size, QImage *Out)
{
    jpeg_decompress_struct info;
    TErrorManager errors;
    info.err = jpeg_std_error(&errors.Pub);
    errors.Pub.error_exit = OnError;
    errors.Pub.output_message = OnOutput;
    if (setjmp(errors.Jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, Data, static_cast<unsigned long>(Size));
    jpeg_read_header(&info, TRUE);
    if (info.image_width > kMaxSide || info.image_height > kMaxSide) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    *Out = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
        QImage::Format_RGB32);
    if (Out->isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = Out->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    const bool clean = errors.Pub.num_warnings == 0;
    jpeg_destroy_decompress(&info);
    return clean;
}

} // namespace

QImage DecodeJpeg(const unsigned char *Data, std::size_t Size)
{
    QImage image;
    if (!Data || Size == 0 || !DecodeInto(Data, Size, &image))
        return QImage();
    return image;
}
