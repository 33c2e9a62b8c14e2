#include "widgets/gifanimator.h"

#include <QPainter>

#include "picture/errors.h"
#include "widgets/image.h"

namespace tintbox {

TImageControl::TImageControl(QWidget* AParent) : TGraphicControlEx(AParent) {
  resize(105, 105);
  // The control paints its whole rectangle itself.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImageControl::paintEvent(QPaintEvent*) {
  if (width() <= 0 || height() <= 0) return;
  // Cleared on every way out, so that an error never leaves the control
  // thinking it is still painting.
  struct TDrawingScope {
    TImageControl& Control;
    explicit TDrawingScope(TImageControl& AControl) : Control(AControl) {
      Control.FDrawing = Control.FPaintBuffered = true;
    }
    ~TDrawingScope() { Control.FDrawing = Control.FPaintBuffered = false; }
  } scope(*this);
  if (FBuffer.size() != size()) FBuffer = QImage(size(), QImage::Format_RGB32);
  FBuffer.fill(palette().color(QPalette::Window));
  DrawCurrentFrame(FBuffer);
  QPainter(this).drawImage(0, 0, FBuffer);
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
  FPaintErrorReported = false;
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
  const TPaintBackdrop backdrop = [this, &ABuffer](const TSurface32&) { PaintBackdrop(ABuffer); };
  const TColor window = QColorToColor(GetSysColor(COLOR_WINDOW));
  const TGIFPaintOptions options{FStretch, FCenter, FTransparent};
  try {
    PaintGIFFrame(FComposer, FImage, FFrameIndex, SurfaceOf(ABuffer), backdrop, window, options);
  } catch (const Exception&) {
    // The frame shows as the background and the animation goes on. The error
    // is reported once for the image, after this paint, so that a repaint
    // (the error box closing over the control) brings no second box.
    if (FPaintErrorReported) return;
    FPaintErrorReported = true;
    ReportLater(this, std::current_exception());
  }
}

}  // namespace tintbox
