#include "widgets/frametimer.h"

#include "widgets/control.h"

namespace tintbox {

TFrameTimer::TFrameTimer(QObject* AOwner) : QObject(AOwner) {
  FTimer.setTimerType(Qt::PreciseTimer);
  connect(&FTimer, &QTimer::timeout, this, &TFrameTimer::Tick);
}

void TFrameTimer::SetEnabled(bool AValue) {
  if (FEnabled == AValue) return;
  FEnabled = AValue;
  ApplyTimerState();
}

void TFrameTimer::SetInterval(int AValue) {
  if (FInterval == AValue) return;
  FInterval = AValue;
  ApplyTimerState();
}

void TFrameTimer::SetThreaded(bool AValue) {
  if (FThreaded == AValue) return;
  FThreaded = AValue;
  ApplyTimerState();
}

void TFrameTimer::SetOnTimer(std::function<void()> AHandler) {
  const bool had = bool(FOnTimer);
  FOnTimer = std::move(AHandler);
  if (had != bool(FOnTimer)) ApplyTimerState();
}

void TFrameTimer::ApplyTimerState() {
  FTimer.stop();
  if (FInterval != 0 && FEnabled && FOnTimer) FTimer.start(FInterval);
}

void TFrameTimer::Tick() {
  if (!FEnabled || !FOnTimer) return;
  FInTimerEvent = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{FInTimerEvent};
  // The tick arrives through the window system's timer code: an error of the
  // handler is reported here rather than unwound through it.
  DeliverGuarded([this] {
    FOnTimer();
    return true;
  });
}

}  // namespace tintbox
