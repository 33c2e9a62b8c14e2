#include "widgets/gifanimator.h"

#include <QPainter>

#include "widgets/image.h"

namespace tintbox {

TImageControl::TImageControl(QWidget* AParent) : TGraphicControlEx(AParent) {
  resize(105, 105);
  // The control paints its whole rectangle itself.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImageControl::paintEvent(QPaintEvent*) {
  if (width() <= 0 || height() <= 0) return;
  FDrawing = true;
  FPaintBuffered = true;
  if (FBuffer.size() != size()) FBuffer = QImage(size(), QImage::Format_RGB32);
  FBuffer.fill(palette().color(QPalette::Window));
  DrawCurrentFrame(FBuffer);
  QPainter(this).drawImage(0, 0, FBuffer);
  FPaintBuffered = false;
  FDrawing = false;
}

void TImageControl::PaintBackdrop(QImage& ABuffer) {
  tintbox::PaintBackdrop(this, ABuffer);
}

TGIFAnimator::TGIFAnimator(QWidget* AParent)
    : TImageControl(AParent), FTimer(new TFrameTimer(this)) {
  FImage.OnChange = [this] { HandleImageChange(); };
}

TGIFAnimator::~TGIFAnimator() {
  FDestroying = true;
  FTimer->SetOnTimer(nullptr);
  FTimer->SetEnabled(false);
  FImage.OnChange = nullptr;
}

void TGIFAnimator::SetAnimate(bool AValue) {
  if (FAnimate == AValue) return;
  if (AValue) {
    FTimer->SetOnTimer([this] { AdvanceFrame(); });
    FTimer->SetEnabled(true);
    FAnimate = FTimer->Enabled();
  } else {
    FTimer->SetEnabled(false);
    FTimer->SetOnTimer(nullptr);
    FAnimate = false;
    update();
  }
}

void TGIFAnimator::SetStretch(bool AValue) {
  FStretch = AValue;
  update();
}
void TGIFAnimator::SetCenter(bool AValue) {
  FCenter = AValue;
  update();
}
void TGIFAnimator::SetTransparent(bool AValue) {
  FTransparent = AValue;
  update();
}
void TGIFAnimator::SetAutoSize(bool AValue) {
  FAutoSize = AValue;
  AdjustSize();
}

void TGIFAnimator::LoadStoredImage(const QByteArray& AData) {
  FImage.ReadData(reinterpret_cast<const uint8_t*>(AData.constData()), size_t(AData.size()));
}

void TGIFAnimator::HandleImageChange() {
  FComposer.Reset();
  FFrameIndex = FImage.FrameIndex();
  if (FFrameIndex >= 0 && FImage.Count() > 0) FTimer->SetInterval(int(CurrentDelay()));
  AdjustSize();
  if (!FDrawing) update();
}

void TGIFAnimator::AdjustSize() {
  if (FAutoSize && !FImage.Empty()) resize(FImage.ScreenWidth(), FImage.ScreenHeight());
}

// Frame transitions: -1 (no image) -> 0 after a read; k -> k + 1 on a tick
// while shown; the last frame -> 0. Hidden, the index stays where it is.
void TGIFAnimator::AdvanceFrame() {
  if (FDrawing || FDestroying || !isVisible() || FImage.Count() < 2 || !parentWidget()) return;
  FFrameIndex = FFrameIndex + 1 >= FImage.Count() ? 0 : FFrameIndex + 1;
  repaint();
  FTimer->SetInterval(int(CurrentDelay()));
  if (!FLoop && FFrameIndex == 0) SetAnimate(false);
}

void TGIFAnimator::DrawCurrentFrame(QImage& ABuffer) {
  if (FImage.Transparent() || FImage.Empty()) PaintBackdrop(ABuffer);
  if (FImage.Empty() || FImage.ScreenWidth() < 1 || FImage.ScreenHeight() < 1) return;
  TColor key = clNone;
  const TColor window = QColorToColor(GetSysColor(COLOR_WINDOW));
  const TBitmap& composite = FComposer.ComposeFrame(FImage, FFrameIndex, window, key);
  TRect dest{0, 0, composite.Width(), composite.Height()};
  if (FStretch) {
    dest = TRect{0, 0, width(), height()};
  } else if (FCenter) {
    const int32_t left = (width() - composite.Width()) / 2;
    const int32_t top = (height() - composite.Height()) / 2;
    dest = TRect{left, top, left + composite.Width(), top + composite.Height()};
  }
  const TSurface32 surface = SurfaceOf(ABuffer);
  if (key != clNone && FTransparent)
    KeyedStretchDraw(surface, dest, composite, key);
  else
    StretchDraw(surface, dest, composite);
}

}  // namespace tintbox
