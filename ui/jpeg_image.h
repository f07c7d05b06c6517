#pragma once
// JPEG pictures decoded with libjpeg. A picture that does not decode gives a null image,
// never a crash or an abort.

#include <QByteArray>
#include <QImage>

namespace ui {

QImage decodeJpeg(const QByteArray &bytes);
// Reads a compiled-in picture (":/assets/...") and decodes it.
QImage decodeJpegResource(const QString &path);

} // namespace ui
