#include "ui/icon_image.h"

#include <QtEndian>

#include <algorithm>


namespace ui {

namespace {

constexpr qint64 kHeaderSize = 6;
constexpr qint64 kEntrySize = 16;
constexpr qint64 kBitmapHeaderSize = 40;
// Icon images are at most 256 wide; anything far beyond is a forged header, refused before allocating.
constexpr qint32 kMaxSide = 1024;
constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";

quint16 u16(const uchar *p) { return qFromLittleEndian<quint16>(p); }
quint32 u32(const uchar *p) { return qFromLittleEndian<quint32>(p); }
qint32 s32(const uchar *p) { return qFromLittleEndian<qint32>(p); }

bool isPng(const uchar *p, qint64 size) {
  return size >= 8 && std::equal(kPngSignature, kPngSignature + 8, reinterpret_cast<const char *>(p));
}

// The colour of pixel x in one row of the colour (XOR) bitmap, without alpha.
QRgb pixelColour(const uchar *row, int x, int bpp, const QRgb *palette, int paletteSize) {
  auto indexed = [&](int index) { return index < paletteSize ? palette[index] : qRgb(0, 0, 0); };
  switch (bpp) {
  case 1:
    return indexed((row[x / 8] >> (7 - x % 8)) & 1);
  case 4:
    return indexed((row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0f);
  case 8:
    return indexed(row[x]);
  case 16: {
    const quint16 v = u16(row + 2 * x);
    auto expand = [](int five) { return (five << 3) | (five >> 2); };
    return qRgb(expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31));
  }
  case 24:
    return qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
  default:
    return qRgb(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
  }
}

// A device-independent bitmap as icons store it: a BITMAPINFOHEADER whose height counts the
// colour bitmap and the mask together, the palette, the colour bitmap and the AND mask, both
// bottom-up with rows padded to 4 bytes. A mask bit of 1 is a transparent pixel.
QImage decodeBitmap(const uchar *p, qint64 size) {
  if (size < kBitmapHeaderSize)
    return {};
  const quint32 headerSize = u32(p);
  const qint32 width = s32(p + 4);
  const qint32 fullHeight = s32(p + 8);
  const int bpp = u16(p + 14);
  const quint32 compression = u32(p + 16);
  const quint32 coloursUsed = u32(p + 32);
  if (headerSize < kBitmapHeaderSize || headerSize > size)
    return {};
  if (width <= 0 || width > kMaxSide || fullHeight < 2 || fullHeight / 2 > kMaxSide)
    return {};
  if (compression != 0 || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32))
    return {};
  const int height = fullHeight / 2;

  QRgb palette[256];
  int paletteSize = 0;
  if (bpp <= 8) {
    paletteSize = coloursUsed ? int(std::min<quint32>(coloursUsed, 257)) : 1 << bpp;
    if (paletteSize > 1 << bpp)
      return {};
  }
  const qint64 colourStride = (qint64(width) * bpp + 31) / 32 * 4;
  const qint64 maskStride = (qint64(width) + 31) / 32 * 4;
  const qint64 paletteStart = headerSize;
  const qint64 colourStart = paletteStart + 4 * qint64(paletteSize);
  const qint64 maskStart = colourStart + colourStride * height;
  if (maskStart + maskStride * height > size)
    return {};
  for (int i = 0; i < paletteSize; ++i) {
    const uchar *entry = p + paletteStart + 4 * i;
    palette[i] = qRgb(entry[2], entry[1], entry[0]);
  }

  QImage image(width, height, QImage::Format_ARGB32);
  if (image.isNull())
    return {};
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    const uchar *colourRow = p + colourStart + colourStride * (height - 1 - y);
    QRgb *out = reinterpret_cast<QRgb *>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const QRgb colour = pixelColour(colourRow, x, bpp, palette, paletteSize);
      const int alpha = bpp == 32 ? colourRow[4 * x + 3] : 255;
      anyAlpha = anyAlpha || alpha != 0;
      out[x] = qRgba(qRed(colour), qGreen(colour), qBlue(colour), alpha);
    }
  }
  // A 32-bit image whose alpha bytes are all zero was written for displays without alpha: its
  // mask says what shows, like the mask of any other depth.
  if (bpp == 32 && anyAlpha)
    return image;
  for (int y = 0; y < height; ++y) {
    const uchar *maskRow = p + maskStart + maskStride * (height - 1 - y);
    QRgb *out = reinterpret_cast<QRgb *>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const bool transparent = (maskRow[x / 8] >> (7 - x % 8)) & 1;
      out[x] = transparent ? qRgba(qRed(out[x]), qGreen(out[x]), qBlue(out[x]), 0) : (out[x] | 0xff000000u);
    }
  }
  return image;
}

QImage decodeImage(const uchar *p, qint64 size) {
  if (isPng(p, size))
    return QImage::fromData(p, int(std::min<qint64>(size, INT_MAX)), "PNG");
  return decodeBitmap(p, size);
}

} // namespace

QImage iconImageForWidth(const QByteArray &ico, int n) {
  const auto *data = reinterpret_cast<const uchar *>(ico.constData());
  const qint64 total = ico.size();
  if (total < kHeaderSize)
    return {};
  const quint16 reserved = u16(data);
  const quint16 type = u16(data + 2);
  const quint16 count = u16(data + 4);
  if (reserved != 0 || (type != 1 && type != 2) || count == 0)
    return {};
  // A directory cut short has no last entry to fall back on.
  if (kHeaderSize + kEntrySize * count > total)
    return {};

  const uchar *entry = data + kHeaderSize + kEntrySize * (count - 1);
  for (int i = 0; i < count; ++i) {
    const uchar *candidate = data + kHeaderSize + kEntrySize * i;
    if (candidate[0] == n && candidate[2] >= 16) {
      entry = candidate;
      break;
    }
  }

  const qint64 statedSize = u32(entry + 8);
  const qint64 offset = u32(entry + 12);
  if (offset >= total)
    return {};
  const uchar *image = data + offset;
  const qint64 sizeLeft = total - offset;
  QImage result;
  if (statedSize <= sizeLeft)
    result = decodeImage(image, statedSize);
  if (!result.isNull())
    return result;

  // A wrong stated size is common in icon files found in the wild, so the image gets a second
  // chance with all the data after its start. The depth is the bitmap header's when it is there.
  const bool png = isPng(image, sizeLeft);
  const int bpp = png ? 32 : sizeLeft >= 16 ? u16(image + 14) : u16(entry + 6);
  if (bpp == 16 || sizeLeft == statedSize)
    return {};
  return decodeImage(image, sizeLeft);
}

QImage trayImage(const QByteArray &ico) {
  const QImage image = iconImageForWidth(ico, 16);
  return image.isNull() ? iconImageForWidth(ico, 32) : image;
}

} // namespace ui
