// TFrameTimer: the animator's periodic timer on the main thread.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace tintbox {

class TFrameTimer : public QObject {
  Q_OBJECT

 public:
  explicit TFrameTimer(QObject* AOwner);

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue);
  int Interval() const { return FInterval; }  // milliseconds
  void SetInterval(int AValue);
  bool Threaded() const { return FThreaded; }
  // Only the main-thread mode exists here; the flag is kept for its owner.
  void SetThreaded(bool AValue);
  void SetOnTimer(std::function<void()> AHandler);
  bool HasHandler() const { return bool(FOnTimer); }

  bool Running() const { return FTimer.isActive(); }
  bool InTimerEvent() const { return FInTimerEvent; }

 private:
  // Runs only with a non-zero interval, enabled and with a handler. Every
  // re-application restarts the period.
  void ApplyTimerState();
  void Tick();

  bool FEnabled = true;
  int FInterval = 1000;
  std::function<void()> FOnTimer;
  bool FThreaded = true;
  QTimer FTimer;
  bool FInTimerEvent = false;
};

}  // namespace tintbox
