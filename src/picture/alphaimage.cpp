// Reading a stored picture: the class is looked up by its name; both known
// classes read a counted BMP file through the bitmap reader.
#include "picture/alphaimage.h"

#include <memory>
#include <string_view>

#include "picture/bmpreader.h"
#include "picture/bytereader.h"
#include "picture/errors.h"

namespace tintbox {

void ReadStoredPicture(const uint8_t* AData, size_t ASize, TPicture& APicture) {
  TByteReader in(AData, ASize);
  const uint8_t nameLength = in.U8();
  const std::string_view name(reinterpret_cast<const char*>(in.Take(nameLength)), nameLength);
  TGraphicKind kind;
  if (name == AlphaImageClassName) {
    kind = TGraphicKind::AlphaImage;
  } else if (name == BitmapClassName) {
    kind = TGraphicKind::Bitmap;
  } else {
    throw EReadError(SReadError);  // no picture class of that name
  }

  const int32_t count = in.I32();
  if (count < 0 || !in.has(uint64_t(count))) throw EReadError(SReadError);
  const uint8_t* file = in.Take(uint64_t(count));

  auto bitmap = std::make_unique<TBitmap>();
  ReadBitmap(file, size_t(count), *bitmap);
  APicture.SetGraphic(std::move(bitmap), kind);
}

}  // namespace tintbox
