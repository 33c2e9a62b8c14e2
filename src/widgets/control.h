// TGraphicControlEx: the base of the program's windowless controls. Such a
// control is a child widget without a native window of its own: its parent
// paints its background first, then each child in stacking (creation) order,
// later ones on top, each clipped to its rectangle.
#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>
#include <exception>
#include <functional>

#include "picture/color.h"

namespace tintbox {

// Desktop scheme colours, read from the application palette.
enum TSysColor {
  COLOR_BTNSHADOW,
  COLOR_BTNHIGHLIGHT,
  COLOR_BTNFACE,
  COLOR_WINDOW,
  COLOR_WINDOWTEXT
};
QColor GetSysColor(TSysColor AIndex);

// Colour conversions between the game's 0x00BBGGRR and Qt.
QColor ColorToQColor(TColor AColor);
TColor QColorToColor(const QColor& AColor);

// Where an error raised by a handler goes: the application sets its error
// report here. Without one, the error goes on to the caller.
void SetHandlerErrorReport(std::function<void()> AReport);
// For use inside a catch block: hands the error being handled to the report.
// False when no report is set (the caller then rethrows).
bool ReportHandlerError();

// Delivers an event by ADeliver (the base class's event()). An error that a
// handler raises on the way is reported here, inside the control, so that it
// never unwinds through the window system's own code, which is not built to
// be unwound.
template <typename TDeliver>
bool DeliverGuarded(TDeliver&& ADeliver) {
  try {
    return ADeliver();
  } catch (...) {
    if (!ReportHandlerError()) throw;
    return true;  // the event counts as handled
  }
}

// A Qt widget class whose every event is delivered through DeliverGuarded:
// the base of the program's controls and windows (TGuarded<QWidget>).
template <typename TBase>
class TGuarded : public TBase {
 public:
  using TBase::TBase;

 protected:
  bool event(QEvent* AEvent) override {
    return DeliverGuarded([&] { return TBase::event(AEvent); });
  }
};

// Hands AError to the report from the event loop, once control has returned
// to it: for errors found while painting, where a modal box must not run.
void ReportLater(QObject* AContext, std::exception_ptr AError);

class TGraphicControlEx;

// What NotifyGroup hands to every control of a parent: the group number and
// the control that sent it.
struct TGroupNotice {
  int32_t GroupIndex = 0;
  TGraphicControlEx* Sender = nullptr;
};

class TGraphicControlEx : public TGuarded<QWidget> {
  Q_OBJECT

 public:
  explicit TGraphicControlEx(QWidget* AParent = nullptr);
  ~TGraphicControlEx() override;

  // For the owner's use; 0 unless set.
  int32_t Tag = 0;

  bool MouseOver() const { return FMouseOver; }

  // Receives a group notice from a sibling; controls that are not in a
  // group ignore it.
  virtual void HandleGroupNotice(const TGroupNotice& ANotice);

  // The control that holds the mouse capture (pressed and not yet released),
  // or nullptr.
  static TGraphicControlEx* CaptureControl();
  // Tells the capturing control, if any, to give up its mode: a button held
  // down is released and repainted, and its pending click is dropped.
  static void CancelCapture();

 protected:
  // Pointer enter and leave as the control accepts them: each runs only when
  // FMouseOver actually changes.
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  // The reaction to losing the capture without a release.
  virtual void CancelMode() {}

  void SetCapture();
  void ReleaseCapture();
  bool HasCapture() const { return FCaptureControl == this; }

  void enterEvent(QEnterEvent* AEvent) override;
  void leaveEvent(QEvent* AEvent) override;

  bool FMouseOver = false;

 private:
  static TGraphicControlEx* FCaptureControl;
};

// Hands ANotice to every control of AParent in control order (child order).
void NotifyGroup(QWidget* AParent, const TGroupNotice& ANotice);

}  // namespace tintbox
