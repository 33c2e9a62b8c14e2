#include "ui/embedded.h"

#include <QImage>
#include <QResource>

#include "picture/alphaimage.h"
#include "picture/bmpreader.h"

namespace tintbox {

QByteArray EmbeddedData(const QString& AName) {
  // Uncompressed resources are handed out where they lie, without a copy.
  const QResource resource(QStringLiteral(":/") + AName);
  if (!resource.isValid()) return {};
  if (resource.compressionAlgorithm() == QResource::NoCompression)
    return QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()),
                                   qsizetype(resource.size()));
  return resource.uncompressedData();
}

void LoadWaitPicture(TPicture& APicture) {
  const QByteArray data = EmbeddedData(QStringLiteral("wait.dat"));
  ReadStoredPicture(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size()),
                    APicture);
}

QImage ProgramIconImage(int ASize) {
  const QByteArray data = EmbeddedData(QStringLiteral("icon%1.bmp").arg(ASize));
  TBitmap bitmap;
  try {
    ReadBitmap(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size()), bitmap);
  } catch (const std::exception&) {
    return {};  // an icon size missing from the build is no reason to fail
  }
  if (bitmap.Empty()) return {};
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_ARGB32);
  const uint8_t* alpha = bitmap.AlphaPlane();
  for (int y = 0; y < bitmap.Height(); ++y) {
    auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
    const TColor* src = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      const uint32_t a = alpha ? alpha[size_t(y) * bitmap.Width() + x] : 255;
      row[x] = (ToRGB32(src[x]) & 0x00FFFFFF) | (a << 24);
    }
  }
  return image;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : ProgramIconSizes) {
    const QImage image = ProgramIconImage(size);
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

}  // namespace tintbox
