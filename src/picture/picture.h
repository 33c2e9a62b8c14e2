// TPicture: the holder of at most one graphic; every image control has one.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "picture/bitmap.h"

namespace tintbox {

// The kinds of graphic a picture can hold. An alpha image is a 32-bit bitmap
// that draws itself by blending with its alpha plane (the wait picture).
enum class TGraphicKind { None, Bitmap, AlphaImage };

class TPicture {
 public:
  TPicture();
  ~TPicture();

  // Replaces the graphic with the picture read from AFileName; the kind comes
  // from the extension ("bmp", any letter case). On failure the error goes on
  // to the caller and the picture keeps what it held.
  //   EInvalidGraphic "Unknown picture file extension (.%s)"
  //   EFOpenError     "Cannot open file "%s". %s"  (full path, system text)
  //   any error of the bitmap reader
  void LoadFromFile(const std::string& AFileName);

  // Copies ASource's graphic, sharing its pixel store; nullptr or an empty
  // source empties this picture.
  void Assign(const TPicture* ASource);

  // Takes ABitmap as the graphic (nullptr empties the picture).
  void SetGraphic(std::unique_ptr<TBitmap> ABitmap, TGraphicKind AKind = TGraphicKind::Bitmap);

  TGraphicKind Kind() const { return FKind; }
  TBitmap* Bitmap() const { return FBitmap.get(); }  // nullptr when empty
  bool Empty() const { return !FBitmap; }
  int32_t Width() const { return FBitmap ? FBitmap->Width() : 0; }
  int32_t Height() const { return FBitmap ? FBitmap->Height() : 0; }

  // Told whenever the graphic is replaced or drawn on; ChangedPart() is the
  // part of the picture the change touched, nullopt for anything (a graphic
  // replaced, of another size perhaps).
  std::function<void()> OnChange;
  const std::optional<TRect>& ChangedPart() const { return FChangedPart; }

 private:
  void Changed(const std::optional<TRect>& APart);
  std::optional<TRect> FChangedPart;
  std::unique_ptr<TBitmap> FBitmap;
  TGraphicKind FKind = TGraphicKind::None;
};

}  // namespace tintbox
