#include "ui/embedded.h"

#include <QImage>
#include <QResource>

#include "picture/alphaimage.h"
#include "picture/bmpreader.h"
#include "picture/draw.h"
#include "widgets/image.h"

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
  CopyWithAlpha(SurfaceOf(image), bitmap);
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
