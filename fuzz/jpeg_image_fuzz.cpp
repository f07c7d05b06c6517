// JPEG decoding on arbitrary bytes and on real pictures cut short: a damaged picture gives a
// null image, never a crash, an abort or a half-grey picture.

#include "fuzz/fuzz_check.h"
#include "ui/jpeg_image.h"

#include <cstdint>
#include <cstdlib>

using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
  const QImage image = ui::decodeJpeg(bytes);
  if (image.isNull())
    return 0;
  require(image.format() == QImage::Format_RGB32 && image.width() > 0 && image.height() > 0);
  require(image.width() <= 16384 && image.height() <= 16384);
  return 0;
}
