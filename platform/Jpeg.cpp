#include "platform/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace platform {

namespace {

struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

extern "C" void onJpegError(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->text);
    std::longjmp(err->jump, 1);
}

extern "C" void onJpegMessage(j_common_ptr, int) {}

void setError(QString *error, const char *text)
{
    if (error)
        *error = QString::fromLocal8Bit(text);
}

// Kept out of the setjmp frame: nothing with a destructor lives there.
bool decodeInto(jpeg_decompress_struct &cinfo, ErrorManager &err, QByteArrayView bytes, QImage &out)
{
    if (setjmp(err.jump))
        return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA; // BGRA fills the alpha byte
    jpeg_start_decompress(&cinfo);
    out = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB32);
    if (out.isNull()) {
        std::snprintf(err.text, sizeof err.text, "JPEG image too large");
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.scanLine(int(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (cmyk) {
            // Adobe writes inverted CMYK; 4 bytes per pixel, in place.
            uchar *p = row;
            auto *px = reinterpret_cast<QRgb *>(row);
            for (JDIMENSION x = 0; x < cinfo.output_width; ++x, p += 4) {
                const int k = p[3];
                px[x] = qRgb(p[0] * k / 255, p[1] * k / 255, p[2] * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

bool encodeFrom(jpeg_compress_struct &cinfo, ErrorManager &err, const QImage &image, int quality,
                unsigned char **buffer, unsigned long *size)
{
    if (setjmp(err.jump))
        return false;
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = JDIMENSION(image.width());
    cinfo.image_height = JDIMENSION(image.height());
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        auto row = const_cast<JSAMPROW>(image.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

} // namespace

QImage decodeJpeg(QByteArrayView bytes, QString *error)
{
    if (bytes.isEmpty()) {
        setError(error, "empty JPEG data");
        return {};
    }
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onJpegError;
    err.pub.emit_message = onJpegMessage;
    QImage out;
    const bool ok = decodeInto(cinfo, err, bytes, out);
    jpeg_destroy_decompress(&cinfo);
    if (!ok) {
        setError(error, err.text);
        return {};
    }
    return out;
}

QByteArray encodeJpeg(const QImage &image, int quality, QString *error)
{
    if (image.isNull()) {
        setError(error, "empty image");
        return {};
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onJpegError;
    err.pub.emit_message = onJpegMessage;
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    const bool ok = encodeFrom(cinfo, err, rgb, qBound(1, quality, 100), &buffer, &size);
    jpeg_destroy_compress(&cinfo);
    QByteArray out;
    if (ok)
        out = QByteArray(reinterpret_cast<const char *>(buffer), qsizetype(size));
    else
        setError(error, err.text);
    std::free(buffer);
    return out;
}

} // namespace platform
