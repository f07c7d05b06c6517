// The icon image rule on arbitrary bytes: the header, the directory walk, the stated sizes and
// offsets, the bitmap header and the second try with the data left.

#include "fuzz/fuzz_check.h"
#include "ui/icon_image.h"

#include <cstdint>
#include <cstdlib>

using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray ico = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
  const QImage for16 = ui::iconImageForWidth(ico, 16);
  const QImage tray = ui::trayImage(ico);
  // Width 32 is tried only when 16 made nothing.
  if (!for16.isNull())
    require(tray == for16);
  else
    require(tray == ui::iconImageForWidth(ico, 32));
  return 0;
}
