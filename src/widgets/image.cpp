#include "widgets/image.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "picture/draw.h"
#include "picture/errors.h"
#include "widgets/numbermarks.h"

namespace tintbox {

TSurface32 SurfaceOf(QImage& AImage) {
  return TSurface32{reinterpret_cast<uint32_t*>(AImage.bits()), AImage.width(), AImage.height(),
                    int32_t(AImage.bytesPerLine() / 4)};
}

void PaintBackdrop(QWidget* AControl, QImage& ABuffer) {
  QWidget* parent = AControl->parentWidget();
  if (!parent) return;
  QPainter painter(&ABuffer);
  // render() puts the top-left of the (clipped) source region at the offset.
  const QRegion under = QRegion(AControl->geometry()) & parent->rect();
  if (!under.isEmpty())
    parent->render(&painter, under.boundingRect().topLeft() - AControl->pos(), under,
                   QWidget::DrawWindowBackground);
  for (QObject* child : parent->children()) {
    if (child == AControl) break;
    auto* control = qobject_cast<QWidget*>(child);
    if (!control || !control->isVisible() || control->isWindow()) continue;
    if (!control->geometry().intersects(AControl->geometry())) continue;
    control->render(&painter, control->pos() - AControl->pos(), QRegion(),
                    QWidget::DrawWindowBackground | QWidget::DrawChildren);
  }
}

TImage::TImage(QWidget* AParent) : TGuarded(AParent) {
  FPicture.OnChange = [this] { PictureChanged(); };
  UpdateOpacity();
}

void TImage::SetStretch(bool AValue) {
  if (FStretch == AValue) return;
  FStretch = AValue;
  PictureChanged();
}
void TImage::SetProportional(bool AValue) {
  if (FProportional == AValue) return;
  FProportional = AValue;
  PictureChanged();
}
void TImage::SetCenter(bool AValue) {
  if (FCenter == AValue) return;
  FCenter = AValue;
  PictureChanged();
}
void TImage::SetTransparent(bool AValue) {
  if (FTransparent == AValue) return;
  FTransparent = AValue;
  PictureChanged();
}

TCanvas& TImage::Canvas() {
  if (FPicture.Empty()) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width(), height(), clWhite);
    FPicture.SetGraphic(std::move(bitmap));
  }
  if (FPicture.Kind() != TGraphicKind::Bitmap)
    throw EInvalidOperation("Can only modify an image if it contains a bitmap");
  return FPicture.Bitmap()->Canvas();
}

TRect TImage::DestRect() const {
  return PlacePicture(FPicture.Width(), FPicture.Height(), width(), height(), FStretch,
                      FProportional, FCenter);
}

// The control paints its whole rectangle itself only when the picture covers
// it and is not see-through; otherwise the parent's background shows around it.
void TImage::UpdateOpacity() {
  const TRect r = DestRect();
  const bool opaque = !FPicture.Empty() && !FTransparent &&
                      FPicture.Kind() == TGraphicKind::Bitmap && r.Left <= 0 && r.Top <= 0 &&
                      r.Right >= width() && r.Bottom >= height();
  setAttribute(Qt::WA_OpaquePaintEvent, opaque);
}

void TImage::PictureChanged() {
  UpdateOpacity();
  if (FPainting) return;
  // Drawing on the picture marks only what it changed; a new graphic, the
  // whole control.
  if (const std::optional<TRect>& part = FPicture.ChangedPart())
    update(ControlRect(*part));
  else
    update();
}

QRect TImage::ControlRect(const TRect& APart) const {
  if (APart.Width() <= 0 || APart.Height() <= 0) return QRect();
  const TRect dest = DestRect();
  QRect r(dest.Left, dest.Top, dest.Width(), dest.Height());
  // A picture drawn at its own size shows APart where it lies; a scaled one
  // is marked whole.
  if (dest.Width() == FPicture.Width() && dest.Height() == FPicture.Height())
    r = QRect(dest.Left + APart.Left, dest.Top + APart.Top, APart.Width(), APart.Height());
  return r & rect();
}

void TImage::RepaintPicture(const TRect& APart) {
  const QRect r = ControlRect(APart);
  if (!r.isEmpty()) repaint(r);
}

void TImage::paintEvent(QPaintEvent* AEvent) {
  if (FPicture.Empty() || width() <= 0 || height() <= 0) return;
  const TRect dest = DestRect();
  const QRect target =
      QRect(dest.Left, dest.Top, dest.Width(), dest.Height()) & rect() & AEvent->rect();
  if (target.isEmpty()) return;
  FPainting = true;
  const TBitmap& bitmap = *FPicture.Bitmap();
  QPainter painter(this);
  if (FPicture.Kind() == TGraphicKind::AlphaImage) {
    // A 32-bit picture blends into what lies under it.
    if (FBuffer.size() != size()) FBuffer = QImage(size(), QImage::Format_RGB32);
    FBuffer.fill(parentWidget() ? parentWidget()->palette().color(QPalette::Window)
                                : QColor(Qt::white));
    PaintBackdrop(this, FBuffer);
    AlphaStretchDraw(SurfaceOf(FBuffer), dest, bitmap);
    if (const TBitmap* overlay = VisibleOverlay())
      KeyedStretchDraw(SurfaceOf(FBuffer), dest, *overlay, clNone);
    painter.drawImage(target.topLeft(), FBuffer, target);
  } else {
    // An opaque picture goes to the screen in bands of rows through one small
    // buffer: no copy of the whole picture is made, and each band is still in
    // the cache when it is copied on. The pixels are those of a single
    // stretch of the whole rectangle, as the stretch maps rows and columns
    // from the destination rectangle alone. A flashing overlay is drawn
    // over each band in the same way.
    const TBitmap* overlay = VisibleOverlay();
    const int rows = std::clamp(BandPixels / target.width(), 1, target.height());
    if (FBuffer.width() != target.width() || FBuffer.height() != rows)
      FBuffer = QImage(target.width(), rows, QImage::Format_RGB32);
    for (int top = target.top(); top <= target.bottom(); top += rows) {
      TSurface32 band = SurfaceOf(FBuffer);
      band.Height = std::min(rows, target.bottom() + 1 - top);
      const TRect shifted{dest.Left - target.left(), dest.Top - top, dest.Right - target.left(),
                          dest.Bottom - top};
      StretchDraw(band, shifted, bitmap);
      if (overlay) KeyedStretchDraw(band, shifted, *overlay, clNone);
      painter.drawImage(QPoint(target.left(), top), FBuffer,
                        QRect(0, 0, target.width(), band.Height));
    }
  }
  if (!FNumbers.empty()) {
    const QPointF origin = PictureOrigin();
    const double scale = PictureScale();
    for (const TNumberMark& mark : FNumbers)
      if (NumberMarkRect(mark, origin, scale).intersects(AEvent->rect()))
        DrawNumberMark(painter, *this, mark, origin, scale);
  }
  FPainting = false;
}

QPointF TImage::PictureOrigin() const {
  const TRect dest = DestRect();
  return QPointF(dest.Left, dest.Top);
}

// The picture area shows its picture unscaled; a stretched picture's digits
// are stretched by its height.
double TImage::PictureScale() const {
  const TRect dest = DestRect();
  return FPicture.Height() > 0 ? double(dest.Height()) / FPicture.Height() : 1;
}

void TImage::SetNumbers(std::vector<TNumberMark> AMarks) {
  // Both the digits that go and the ones that come: a digit that goes may
  // lie partly outside whatever else is repainted.
  QRegion changed;
  const QPointF origin = PictureOrigin();
  const double scale = PictureScale();
  auto in = [](const std::vector<TNumberMark>& AList, const TNumberMark& AMark) {
    return std::find(AList.begin(), AList.end(), AMark) != AList.end();
  };
  for (const TNumberMark& mark : FNumbers)
    if (!in(AMarks, mark)) changed += NumberMarkRect(mark, origin, scale);
  for (const TNumberMark& mark : AMarks)
    if (!in(FNumbers, mark)) changed += NumberMarkRect(mark, origin, scale);
  FNumbers = std::move(AMarks);
  if (!changed.isEmpty()) update(changed);
}

const TBitmap* TImage::VisibleOverlay() const {
  if (!FFlashOverlay || FFlashPhase % 2 != 0 || FPicture.Empty()) return nullptr;
  const TBitmap& bitmap = *FPicture.Bitmap();
  if (FFlashOverlay->Width() != bitmap.Width() || FFlashOverlay->Height() != bitmap.Height())
    return nullptr;
  return FFlashOverlay.get();
}

void TImage::Flash(std::unique_ptr<TBitmap> AOverlay) {
  FFlashPhase = 0;
  if (AOverlay) {
    if (!FFlashTimer) {
      FFlashTimer = new QTimer(this);
      FFlashTimer->setInterval(FlashPhaseMs);
      connect(FFlashTimer, &QTimer::timeout, this, [this] { FlashTick(); });
    }
    FFlashTimer->start();
  }
  SetFlashOverlay(std::move(AOverlay));
}

void TImage::SetFlashOverlay(std::unique_ptr<TBitmap> AOverlay) {
  if (!AOverlay && !FFlashOverlay) return;
  FFlashOverlay = std::move(AOverlay);
  if (!FFlashOverlay && FFlashTimer) FFlashTimer->stop();
  update();
}

void TImage::FlashTick() {
  if (++FFlashPhase >= 2 * FlashCount)
    StopFlash();
  else
    update();
}

void TImage::mousePressEvent(QMouseEvent* AEvent) {
  FPressed = AEvent->button();
}

void TImage::mouseReleaseEvent(QMouseEvent* AEvent) {
  const Qt::MouseButton pressed = FPressed;
  FPressed = Qt::NoButton;
  if (AEvent->button() != pressed || !rect().contains(AEvent->position().toPoint())) return;
  if (pressed == Qt::LeftButton && OnClick) OnClick();
  if (pressed == Qt::RightButton && OnRightClick) OnRightClick();
}

TShape::TShape(QWidget* AParent) : QWidget(AParent) {}

void TShape::paintEvent(QPaintEvent*) {
  if (width() <= 0 || height() <= 0) return;
  QImage image(size(), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  DrawShapeOutline(SurfaceOf(image), width(), height(), PenWidth, PenColor);
  QPainter(this).drawImage(0, 0, image);
}

}  // namespace tintbox
