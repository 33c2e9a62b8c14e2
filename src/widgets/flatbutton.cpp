#include "widgets/flatbutton.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>

#include "widgets/numbermarks.h"

namespace tintbox {

// ---------------------------------------------------------------------------
// TCustomFlatButton

TCustomFlatButton::TCustomFlatButton(QWidget* AParent) : TGraphicControlEx(AParent) {
  // The button never takes the keyboard focus and paints only its frame and
  // caption: the parent's background shows through everywhere else.
  setFocusPolicy(Qt::NoFocus);
  resize(40, 40);
}

void TCustomFlatButton::SetCaption(const QString& AValue) {
  if (AValue == FCaption) return;
  FCaption = AValue;
  CaptionChanged();
}

void TCustomFlatButton::CaptionChanged() {
  RepaintOnParent();
}

// Down rules: only a grouped button can be down; a down button stays down
// unless AllowAllUp; every real change tells the group.
void TCustomFlatButton::SetDown(bool AValue) {
  if (FGroupIndex == 0) AValue = false;
  if (AValue == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = AValue;
  NotifyGroup();
  update();
}

void TCustomFlatButton::SetGroupIndex(int32_t AValue) {
  if (AValue == FGroupIndex) return;
  FGroupIndex = AValue;
  NotifyGroup();
}

void TCustomFlatButton::SetAllowAllUp(bool AValue) {
  if (AValue == FAllowAllUp) return;
  FAllowAllUp = AValue;
  NotifyGroup();
}

void TCustomFlatButton::SetHotTrackFont(const QFont& AValue) {
  FHotFont = AValue;
}

TColor TCustomFlatButton::Color() const {
  return FColor ? *FColor : QColorToColor(palette().color(QPalette::Window));
}

void TCustomFlatButton::SetColor(TColor AValue) {
  FColor = AValue;
  update();
}

TColor TCustomFlatButton::FontColor() const {
  return FFontColor ? *FFontColor : QColorToColor(palette().color(QPalette::WindowText));
}

void TCustomFlatButton::SetFontColor(TColor AValue) {
  FFontColor = AValue;
  update();
}

void TCustomFlatButton::NotifyGroup() {
  if (FGroupIndex == 0 || !parentWidget()) return;
  tintbox::NotifyGroup(parentWidget(), TGroupNotice{FGroupIndex, this});
}

void TCustomFlatButton::HandleGroupNotice(const TGroupNotice& ANotice) {
  auto* Sender = qobject_cast<TCustomFlatButton*>(ANotice.Sender);
  if (!Sender || Sender == this || ANotice.GroupIndex != FGroupIndex) return;
  if (Sender->FDown && FDown) {
    FDown = false;
    FStates &= ~TButtonMouseStates(bsMouseDown);
    RepaintOnParent();
  }
  FAllowAllUp = Sender->FAllowAllUp;
}

void TCustomFlatButton::SetFlat(bool AValue) {
  if (AValue == FFlat) return;
  FFlat = AValue;
  RepaintOnParent();
}

bool TCustomFlatButton::ContainsPoint(int32_t X, int32_t Y) const {
  return X >= 0 && X < width() && Y >= 0 && Y < height();
}

// The parent paints the button's area at once: its background, then every
// child overlapping it in stacking order.
void TCustomFlatButton::RepaintOnParent() {
  QWidget* Parent = parentWidget();
  if (!Parent || !Parent->isVisible()) return;
  Parent->repaint(geometry());
}

void TCustomFlatButton::Paint(QPainter& ACanvas) {
  DrawFrame(ACanvas);
  DrawContent(ACanvas);
}

void TCustomFlatButton::paintEvent(QPaintEvent*) {
  QPainter Canvas(this);
  Paint(Canvas);
}

void TCustomFlatButton::changeEvent(QEvent* AEvent) {
  TGraphicControlEx::changeEvent(AEvent);
  // The frame is drawn in the desktop scheme colours: show a new scheme at once.
  if (AEvent->type() == QEvent::PaletteChange) RepaintOnParent();
}

void TCustomFlatButton::MouseEnter() {
  FStates |= bsMouseInside;
  if (FFlat) RepaintOnParent();
}

void TCustomFlatButton::MouseLeave() {
  FStates &= ~TButtonMouseStates(bsMouseInside);
  if (FFlat) RepaintOnParent();
}

// Losing the capture without a release: the button comes up and its pending
// click is dropped.
void TCustomFlatButton::CancelMode() {
  FLeftPressed = false;
  FStates &= ~TButtonMouseStates(bsMouseDown);
  RepaintOnParent();
}

void TCustomFlatButton::MouseDown(int32_t X, int32_t Y, bool ALeft) {
  // Qt's implicit grab on a press sends the moves and the release here until
  // the release; the capture records that for the error report.
  SetCapture();
  if (ALeft) FLeftPressed = true;
  if (ContainsPoint(X, Y)) {
    FStates = TButtonMouseStates(bsMouseInside) | bsMouseDown;
    RepaintOnParent();
  }
}

void TCustomFlatButton::MouseUp() {
  FStates &= ~TButtonMouseStates(bsMouseDown);
  RepaintOnParent();
}

void TCustomFlatButton::mousePressEvent(QMouseEvent* AEvent) {
  AEvent->accept();
  const QPoint P = AEvent->position().toPoint();
  MouseDown(P.x(), P.y(), AEvent->button() == Qt::LeftButton);
}

// The button takes no double clicks: the press of a double click is a plain
// press. When the toolkit already delivered that press, the double-click
// event adds nothing.
void TCustomFlatButton::mouseDoubleClickEvent(QMouseEvent* AEvent) {
  AEvent->accept();
  if (FStates.testFlag(bsMouseDown)) return;
  const QPoint P = AEvent->position().toPoint();
  MouseDown(P.x(), P.y(), AEvent->button() == Qt::LeftButton);
}

void TCustomFlatButton::mouseMoveEvent(QMouseEvent* AEvent) {
  AEvent->accept();
  if (!HasCapture()) return;
  const QPoint P = AEvent->position().toPoint();
  const bool Inside = ContainsPoint(P.x(), P.y());
  if (Inside && !FStates.testFlag(bsMouseInside)) {
    FStates |= bsMouseInside;
    RepaintOnParent();
  } else if (!Inside && FStates.testFlag(bsMouseInside)) {
    FStates &= ~TButtonMouseStates(bsMouseInside);
    RepaintOnParent();
  }
}

// The click runs before the button comes up, so OnClick sees it pressed.
void TCustomFlatButton::mouseReleaseEvent(QMouseEvent* AEvent) {
  AEvent->accept();
  ReleaseCapture();
  if (AEvent->button() == Qt::LeftButton) {
    const QPoint P = AEvent->position().toPoint();
    const bool DoClick = FLeftPressed && ContainsPoint(P.x(), P.y());
    FLeftPressed = false;
    if (DoClick) {
      QPointer<TCustomFlatButton> Self(this);
      Click();
      if (!Self) return;  // the handler freed the button
    }
  }
  MouseUp();
}

void TCustomFlatButton::Click() {
  if (FGroupIndex != 0) SetDown(FAllowAllUp ? !FDown : true);
  if (!OnClick) return;
  // A copy: the handler may assign OnClick while it runs.
  const TNotifyEvent Handler = OnClick;
  QPointer<TCustomFlatButton> Self(this);
  try {
    Handler(this);
  } catch (...) {
    if (Self) {
      FStates &= ~TButtonMouseStates(bsMouseDown);
      RepaintOnParent();
    }
    throw;
  }
}

// ---------------------------------------------------------------------------
// TFlatButton

TFlatButton::TFlatButton(QWidget* AParent) : TCustomFlatButton(AParent) {}

void TFlatButton::SetTransparent(bool AValue) {
  if (AValue == FTransparent) return;
  FTransparent = AValue;
  SetFlat(FTransparent);
  update();
}

void TFlatButton::SetFrameStyle(TFrameStyle AValue) {
  if (AValue == FOutline) return;
  FOutline = AValue;
  SetFlat(FTransparent);
  update();
}

void TFlatButton::SetBorderWidth(uint32_t AValue) {
  if (AValue == FBorderSize) return;
  FBorderSize = AValue;
  update();
}

void TFlatButton::DrawBevel(QPainter& ACanvas, TRect& R, const QColor& AFirst,
                            const QColor& ASecond) const {
  // Rings past the middle of the rectangle draw nothing; a huge BorderWidth
  // costs no more than the rectangle's size.
  const int64_t Rings = std::min<int64_t>(FBorderSize, std::max(R.Width(), R.Height()) / 2 + 1);
  for (int32_t k = 0; k < Rings; ++k) {
    const int32_t l = R.Left + k, t = R.Top + k, r = R.Right - 1 - k, b = R.Bottom - 1 - k;
    // Top and left edges in the first colour, right and bottom in the
    // second; the top-right and bottom-left corner pixels take the second.
    if (b - t > 0) ACanvas.fillRect(l, t, 1, b - t, AFirst);
    if (r - l > 0) ACanvas.fillRect(l, t, r - l, 1, AFirst);
    if (b - t + 1 > 0) ACanvas.fillRect(r, t, 1, b - t + 1, ASecond);
    if (r - l + 1 > 0) ACanvas.fillRect(l, b, r - l + 1, 1, ASecond);
  }
  const int32_t n = int32_t(std::min<uint32_t>(FBorderSize, 1u << 30));
  R = TRect{R.Left + n, R.Top + n, R.Right - n, R.Bottom - n};
}

void TFlatButton::DrawFrame(QPainter& ACanvas) {
  const int32_t W = width(), H = height();
  const QColor Shadow = GetSysColor(COLOR_BTNSHADOW);
  const QColor Highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  const QColor Face = GetSysColor(COLOR_BTNFACE);

  if (!FTransparent) {
    // The filled rectangle (0, 0)-(W - 1, H - 1) with a button-shadow pen of
    // BorderWidth pixels centred on its outline, whose pixels run from
    // (0, 0) to (W - 2, H - 2). The pen covers the outline rings at offsets
    // -(n div 2) ... (n - 1) div 2 from it, so an even width puts its extra
    // ring outward; a width of 0 draws one pixel, as a zero-width pen does.
    ACanvas.fillRect(0, 0, W - 1, H - 1, ColorToQColor(Color()));
    const int32_t Pen =
        std::max<int32_t>(1, int32_t(std::min<uint32_t>(FBorderSize, uint32_t(W + H + 2))));
    for (int32_t d = -(Pen / 2); d <= (Pen - 1) / 2; ++d) {
      const int32_t l = d, t = d, r = W - 2 - d, b = H - 2 - d;
      if (r < l || b < t) break;
      ACanvas.fillRect(l, t, r - l + 1, 1, Shadow);
      ACanvas.fillRect(l, b, r - l + 1, 1, Shadow);
      ACanvas.fillRect(l, t, 1, b - t + 1, Shadow);
      ACanvas.fillRect(r, t, 1, b - t + 1, Shadow);
    }
  } else {
    TRect R{0, 0, W - 1, H - 1};
    DrawBevel(ACanvas, R, Shadow, Shadow);
  }
  TRect Inner{1, 1, W, H};
  DrawBevel(ACanvas, Inner, Highlight, Highlight);

  TRect R{0, 0, W, H};
  if (IsPressed()) {
    if (FShowPressed) {
      DrawBevel(ACanvas, R, QColor(Qt::black), Highlight);
      DrawBevel(ACanvas, R, Shadow, Face);
    }
  } else if (!FTransparent || FStates.testFlag(bsMouseInside)) {
    DrawBevel(ACanvas, R, Shadow, Highlight);
    DrawBevel(ACanvas, R, Highlight, Shadow);
  }
}

void TFlatButton::SetNumber(const std::optional<TNumberMark>& AValue) {
  if (AValue == FNumber) return;
  FNumber = AValue;
  update();
}

void TFlatButton::DrawContent(QPainter& ACanvas) {
  if (!Caption().isEmpty()) DrawCaption(ACanvas);
  if (FNumber) DrawNumberMark(ACanvas, *this, *FNumber);
}

// One line, centred on the button, drawn over the frame with no background.
void TFlatButton::DrawCaption(QPainter& ACanvas) {
  const int32_t W = width(), H = height();
  ACanvas.setFont(FHotTrack && FStates.testFlag(bsMouseInside) ? FHotFont : font());
  const QRect Measured =
      ACanvas.fontMetrics().boundingRect(QRect(0, 0, W, H), Qt::TextSingleLine, Caption());
  const int32_t tw = Measured.width(), th = Measured.height();
  QRect Box(W / 2 - tw / 2, H / 2 - th / 2, tw, th);
  if (IsPressed() && FShowPressed) Box.translate(FPressOffset, FPressOffset);
  ACanvas.setPen(ColorToQColor(FontColor()));
  ACanvas.drawText(Box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                   Caption());
}

}  // namespace tintbox
