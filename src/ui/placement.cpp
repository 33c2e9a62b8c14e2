#include "ui/placement.h"

#include <QEvent>
#include <QExposeEvent>
#include <QWindow>
#include <memory>

namespace tintbox {

namespace {

// The frame the window manager last drew round one of the program's windows
// of a kind, fixed or sizeable (a sizeable one may get handles to drag): the
// best guess for the next one of that kind, else for any.
QMargins LastFrame[2];

int KindOf(const QWidget* AWindow) {
  return AWindow->minimumSize() == AWindow->maximumSize() ? 0 : 1;
}

QMargins GuessFrame(const QWidget* AWindow) {
  const int kind = KindOf(AWindow);
  return LastFrame[kind].isNull() ? LastFrame[1 - kind] : LastFrame[kind];
}

QMargins FrameOf(QWidget* AWindow) {
  const QWindow* handle = AWindow->windowHandle();
  return handle ? handle->frameMargins() : QMargins();
}

// Waits for the window's first expose, then places it again if its frame is
// not the one it was placed with, and goes.
class TFrameWatch : public QObject {
 public:
  TFrameWatch(QWidget* AWindow, std::function<void(const QMargins&)> APlace, QMargins AUsed)
      : QObject(AWindow), FWindow(AWindow), FPlace(std::move(APlace)), FUsed(AUsed) {}

  bool eventFilter(QObject* AWatched, QEvent* AEvent) override {
    if (AEvent->type() == QEvent::Expose && static_cast<QWindow*>(AWatched)->isExposed()) {
      const QMargins frame = FrameOf(FWindow);
      if (!frame.isNull()) LastFrame[KindOf(FWindow)] = frame;
      AWatched->removeEventFilter(this);
      deleteLater();
      if (frame != FUsed) FPlace(frame);
    }
    return false;
  }

 private:
  QWidget* FWindow;
  std::function<void(const QMargins&)> FPlace;
  QMargins FUsed;
};

}  // namespace

void PlaceByFrame(QWidget* AWindow, std::function<void(const QMargins&)> APlace) {
  AWindow->winId();  // a native window, so there is something to watch
  const QMargins guess = GuessFrame(AWindow);
  APlace(guess);
  if (QWindow* handle = AWindow->windowHandle())
    handle->installEventFilter(new TFrameWatch(AWindow, std::move(APlace), guess));
}

void SetFrameGeometry(QWidget* AWindow, const QMargins& AFrame, const QRect& AOuter) {
  // The client area is placed, not the frame: a window manager puts it exactly
  // there, where it may treat a frame's position differently.
  AWindow->setGeometry(AOuter.marginsRemoved(AFrame));
}

void CentreFrameOn(QWidget* AWindow, const QMargins& AFrame, const QRect& AArea) {
  const QSize outer = AWindow->size().grownBy(AFrame);
  SetFrameGeometry(AWindow, AFrame,
                   QRect(QPoint(AArea.left() + (AArea.width() - outer.width()) / 2,
                                AArea.top() + (AArea.height() - outer.height()) / 2),
                         outer));
}

}  // namespace tintbox
