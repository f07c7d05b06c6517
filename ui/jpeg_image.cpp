#include "ui/jpeg_image.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>


namespace ui {

namespace {

// Anything larger than this per side is not a picture of ours; refusing it early keeps a forged
// header from asking for gigabytes.
constexpr JDIMENSION kMaxSide = 16384;

// libjpeg reports fatal errors through error_exit, which must not return. Ours jumps back to the
// decoding step that started the call; warnings (corrupt or missing data that libjpeg would paper
// over with grey) jump back too, so a damaged picture is refused rather than shown half grey.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void errorExit(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1); }

void emitMessage(j_common_ptr info, int level) {
  if (level < 0)
    errorExit(info);
}

void outputMessage(j_common_ptr) {}

struct Decoder {
  jpeg_decompress_struct info{};
  ErrorManager error{};

  Decoder() {
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = errorExit;
    error.base.emit_message = emitMessage;
    error.base.output_message = outputMessage;
    jpeg_create_decompress(&info);
  }
  ~Decoder() { jpeg_destroy_decompress(&info); }
  Decoder(const Decoder &) = delete;
  Decoder &operator=(const Decoder &) = delete;
};

// The two steps below hold nothing but plain values across setjmp, so a jump out of libjpeg
// skips no destructor; everything libjpeg allocated belongs to its pool, which ~Decoder frees.
bool readHeader(Decoder &decoder, const unsigned char *data, unsigned long size) {
  if (setjmp(decoder.error.jump))
    return false;
  jpeg_mem_src(&decoder.info, data, size);
  jpeg_read_header(&decoder.info, TRUE);
  decoder.info.out_color_space = JCS_RGB;
  jpeg_calc_output_dimensions(&decoder.info);
  return decoder.info.output_components == 3;
}

bool readPixels(Decoder &decoder, uchar *bits, qsizetype bytesPerLine) {
  if (setjmp(decoder.error.jump))
    return false;
  jpeg_decompress_struct &info = decoder.info;
  jpeg_start_decompress(&info);
  const JDIMENSION width = info.output_width;
  JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, width * 3, 1);
  while (info.output_scanline < info.output_height) {
    QRgb *out = reinterpret_cast<QRgb *>(bits + qsizetype(info.output_scanline) * bytesPerLine);
    if (jpeg_read_scanlines(&info, row, 1) != 1)
      return false;
    const JSAMPLE *in = row[0];
    for (JDIMENSION x = 0; x < width; ++x, in += 3)
      out[x] = qRgb(in[0], in[1], in[2]);
  }
  // Reading on to the end marker is what finds a file cut short after its last scan line.
  jpeg_finish_decompress(&info);
  return true;
}

} // namespace

QImage decodeJpeg(const QByteArray &bytes) {
  if (bytes.isEmpty())
    return {};
  Decoder decoder;
  if (!readHeader(decoder, reinterpret_cast<const unsigned char *>(bytes.constData()),
                  static_cast<unsigned long>(bytes.size())))
    return {};
  const JDIMENSION width = decoder.info.output_width;
  const JDIMENSION height = decoder.info.output_height;
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
    return {};
  // Rows go straight into the image in RGB32, the form the window paints without converting.
  QImage image(int(width), int(height), QImage::Format_RGB32);
  if (image.isNull())
    return {};
  if (!readPixels(decoder, image.bits(), image.bytesPerLine()))
    return {};
  return image;
}

QImage decodeJpegResource(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return decodeJpeg(file.readAll());
}

} // namespace ui
