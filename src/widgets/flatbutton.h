// TFlatButton: the program's push button, a windowless control with a
// three-dimensional frame, an optional solid fill and a one-line caption.
// Buttons on one parent that share a non-zero GroupIndex are exclusive.
#pragma once

#include <QFlags>
#include <QFont>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "picture/color.h"
#include "picture/numbermark.h"
#include "widgets/control.h"

class QPainter;

namespace tintbox {

enum TButtonMouseState {
  bsMouseInside = 0x1,  // the pointer is over the button
  bsMouseDown = 0x2,    // a mouse button was pressed on it and is still held
};
Q_DECLARE_FLAGS(TButtonMouseStates, TButtonMouseState)

enum TFrameStyle { fsRegular, fsIndent, fsExplorer, fsNone, fsLight, fsDark, fsMono };

enum TTextAlign {
  ttaTopLeft,
  ttaTop,
  ttaTopRight,
  ttaRight,
  ttaBottomRight,
  ttaBottom,
  ttaBottomLeft,
  ttaLeft,
  ttaCenter
};

using TNotifyEvent = std::function<void(QObject* Sender)>;

// Interaction state, groups, mouse handling and Paint.
class TCustomFlatButton : public TGraphicControlEx {
  Q_OBJECT

 public:
  explicit TCustomFlatButton(QWidget* AParent = nullptr);

  const QString& Caption() const { return FCaption; }
  void SetCaption(const QString& AValue);

  bool Down() const { return FDown; }
  void SetDown(bool AValue);
  int32_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int32_t AValue);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool AValue);

  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool AValue) { FHotTrack = AValue; }
  const QFont& HotTrackFont() const { return FHotFont; }
  void SetHotTrackFont(const QFont& AValue);

  // The fill of a non-transparent button; the parent's background colour
  // until set.
  TColor Color() const;
  void SetColor(TColor AValue);
  // The caption colour; the parent's text colour until set. The caption font
  // is the widget's font (setFont), the parent's until set.
  TColor FontColor() const;
  void SetFontColor(TColor AValue);

  TButtonMouseStates States() const { return FStates; }
  bool Flat() const { return FFlat; }

  // Called on every click with the button as sender.
  TNotifyEvent OnClick;

  void HandleGroupNotice(const TGroupNotice& ANotice) override;

 protected:
  virtual void Paint(QPainter& ACanvas);
  virtual void CaptionChanged();
  virtual void DrawContent(QPainter&) {}
  virtual void DrawFrame(QPainter&) {}
  virtual bool ContainsPoint(int32_t X, int32_t Y) const;
  // Has the parent repaint the button's area at once: its background, then
  // every control overlapping it, in control order.
  virtual void RepaintOnParent();
  virtual void DrawCaption(QPainter&) {}

  virtual void Click();
  void NotifyGroup();
  void SetFlat(bool AValue);
  // Pressed or down: the state that shows the pressed look.
  bool IsPressed() const { return FStates.testFlag(bsMouseDown) || FDown; }

  void MouseEnter() override;
  void MouseLeave() override;
  void CancelMode() override;

  void paintEvent(QPaintEvent* AEvent) override;
  void mousePressEvent(QMouseEvent* AEvent) override;
  void mouseMoveEvent(QMouseEvent* AEvent) override;
  void mouseReleaseEvent(QMouseEvent* AEvent) override;
  void mouseDoubleClickEvent(QMouseEvent* AEvent) override;
  void changeEvent(QEvent* AEvent) override;

  TButtonMouseStates FStates;
  bool FDown = false;
  int32_t FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FFlat = false;
  bool FHotTrack = false;
  QFont FHotFont;

 private:
  void MouseDown(int32_t X, int32_t Y, bool ALeft);
  void MouseUp();

  QString FCaption;
  std::optional<TColor> FColor;
  std::optional<TColor> FFontColor;
  bool FLeftPressed = false;  // the left button went down on this button
};

// The drawing settings and the drawing.
class TFlatButton : public TCustomFlatButton {
  Q_OBJECT

 public:
  explicit TFlatButton(QWidget* AParent = nullptr);

  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool AValue);
  TFrameStyle FrameStyle() const { return FOutline; }
  void SetFrameStyle(TFrameStyle AValue);
  uint32_t BorderWidth() const { return FBorderSize; }
  void SetBorderWidth(uint32_t AValue);
  bool ShowPressed() const { return FShowPressed; }
  void SetShowPressed(bool AValue) { FShowPressed = AValue; }
  int32_t PressOffset() const { return FPressOffset; }
  void SetPressOffset(int32_t AValue) { FPressOffset = AValue; }
  TTextAlign TextAlign() const { return FTextAlign; }
  void SetTextAlign(TTextAlign AValue) { FTextAlign = AValue; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool AValue) { FWordWrap = AValue; }
  // A digit drawn over the button, in its own pixels; none by default.
  const std::optional<TNumberMark>& Number() const { return FNumber; }
  void SetNumber(const std::optional<TNumberMark>& AValue);

 protected:
  void DrawContent(QPainter& ACanvas) override;
  void DrawFrame(QPainter& ACanvas) override;
  void DrawCaption(QPainter& ACanvas) override;
  // One bevel of BorderWidth rings on R (Right and Bottom exclusive); R is
  // reduced by BorderWidth on every side afterwards.
  void DrawBevel(QPainter& ACanvas, TRect& R, const QColor& AFirst, const QColor& ASecond) const;

  bool FTransparent = true;
  TFrameStyle FOutline = fsExplorer;
  uint32_t FBorderSize = 1;
  bool FShowPressed = true;
  int32_t FPressOffset = 1;
  TTextAlign FTextAlign = ttaCenter;
  bool FWordWrap = false;
  std::optional<TNumberMark> FNumber;
};

}  // namespace tintbox

Q_DECLARE_OPERATORS_FOR_FLAGS(tintbox::TButtonMouseStates)
