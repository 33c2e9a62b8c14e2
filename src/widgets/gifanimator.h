// TGIFAnimator: a windowless control that plays an animated GIF, painting
// each frame through an off-screen buffer over what lies under it.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>

#include "picture/draw.h"
#include "picture/gifcompose.h"
#include "picture/gifimage.h"
#include "widgets/control.h"
#include "widgets/frametimer.h"

namespace tintbox {

// Shared base of the image-showing controls: opaque, painted whole through an
// off-screen buffer of the client size filled with the control's colour.
class TImageControl : public TGraphicControlEx {
  Q_OBJECT

 public:
  explicit TImageControl(QWidget* AParent);

 protected:
  void paintEvent(QPaintEvent* AEvent) override;
  // Draws the image into the buffer.
  virtual void DrawCurrentFrame(QImage& ABuffer) = 0;
  // Paints what lies under the control into ABuffer: the parent's own
  // painting and every visible control before this one that overlaps it.
  void PaintBackdrop(QImage& ABuffer);

  bool FDrawing = false;
  bool FPaintBuffered = false;

 private:
  QImage FBuffer;
};

class TGIFAnimator : public TImageControl {
  Q_OBJECT

 public:
  explicit TGIFAnimator(QWidget* AParent);
  ~TGIFAnimator() override;

  bool Animate() const { return FAnimate; }
  void SetAnimate(bool AValue);
  void SetThreaded(bool AValue) { FTimer->SetThreaded(AValue); }
  bool Loop() const { return FLoop; }
  void SetLoop(bool AValue) { FLoop = AValue; }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool AValue);
  bool Center() const { return FCenter; }
  void SetCenter(bool AValue);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool AValue);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool AValue);

  // Reads a stored image value: a 32-bit byte count, then the GIF.
  void LoadStoredImage(const QByteArray& AData);

  TGIFImage& Image() { return FImage; }
  TFrameTimer& Timer() { return *FTimer; }
  int32_t FrameIndex() const { return FFrameIndex; }
  uint32_t CurrentDelay() const { return tintbox::CurrentDelay(FImage, FFrameIndex); }

  // The timer's handler: the next frame, while the control is shown.
  void AdvanceFrame();

 protected:
  void DrawCurrentFrame(QImage& ABuffer) override;

 private:
  void HandleImageChange();
  void AdjustSize();

  bool FAnimate = false;
  TGIFImage FImage;
  TFrameTimer* FTimer;
  int32_t FFrameIndex = -1;
  bool FStretch = false;
  bool FLoop = true;
  bool FCenter = false;
  bool FTransparent = true;
  bool FAutoSize = true;
  bool FDestroying = false;
  bool FPaintErrorReported = false;  // for the current image
  TGIFComposer FComposer;
};

}  // namespace tintbox
