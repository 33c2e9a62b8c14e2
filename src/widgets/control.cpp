#include "widgets/control.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPalette>
#include <QPointer>
#include <QTimer>
#include <QVector>

namespace tintbox {

namespace {
std::function<void()> FHandlerErrorReport;
}

void SetHandlerErrorReport(std::function<void()> AReport) {
  FHandlerErrorReport = std::move(AReport);
}

bool ReportHandlerError() {
  if (!FHandlerErrorReport) return false;
  FHandlerErrorReport();
  return true;
}

void ReportLater(QObject* AContext, std::exception_ptr AError) {
  QTimer::singleShot(
      0, AContext, [AError] { DeliverGuarded([&]() -> bool { std::rethrow_exception(AError); }); });
}

QColor GetSysColor(TSysColor AIndex) {
  const QPalette Palette = QApplication::palette();
  switch (AIndex) {
    case COLOR_BTNSHADOW:
      return Palette.color(QPalette::Dark);
    case COLOR_BTNHIGHLIGHT:
      return Palette.color(QPalette::Light);
    case COLOR_BTNFACE:
      return Palette.color(QPalette::Button);
    case COLOR_WINDOW:
      return Palette.color(QPalette::Base);
    case COLOR_WINDOWTEXT:
      return Palette.color(QPalette::WindowText);
  }
  return QColor(Qt::black);
}

QColor ColorToQColor(TColor AColor) {
  return QColor(GetRValue(AColor), GetGValue(AColor), GetBValue(AColor));
}

TColor QColorToColor(const QColor& AColor) {
  return RGB(uint8_t(AColor.red()), uint8_t(AColor.green()), uint8_t(AColor.blue()));
}

TGraphicControlEx* TGraphicControlEx::FCaptureControl = nullptr;

TGraphicControlEx::TGraphicControlEx(QWidget* AParent) : TGuarded(AParent) {}

TGraphicControlEx::~TGraphicControlEx() {
  if (FCaptureControl == this) FCaptureControl = nullptr;
}

void TGraphicControlEx::HandleGroupNotice(const TGroupNotice&) {}

TGraphicControlEx* TGraphicControlEx::CaptureControl() {
  return FCaptureControl;
}

void TGraphicControlEx::CancelCapture() {
  TGraphicControlEx* Control = FCaptureControl;
  FCaptureControl = nullptr;
  if (Control) Control->CancelMode();
}

void TGraphicControlEx::SetCapture() {
  FCaptureControl = this;
}

void TGraphicControlEx::ReleaseCapture() {
  if (FCaptureControl == this) FCaptureControl = nullptr;
}

void TGraphicControlEx::enterEvent(QEnterEvent* AEvent) {
  QWidget::enterEvent(AEvent);
  if (FMouseOver) return;
  FMouseOver = true;
  MouseEnter();
}

void TGraphicControlEx::leaveEvent(QEvent* AEvent) {
  QWidget::leaveEvent(AEvent);
  if (!FMouseOver) return;
  FMouseOver = false;
  MouseLeave();
}

void NotifyGroup(QWidget* AParent, const TGroupNotice& ANotice) {
  if (!AParent) return;
  // A copy of the child list, guarded: a receiver's repaint must not disturb
  // the walk.
  QVector<QPointer<TGraphicControlEx>> Controls;
  for (QObject* Child : AParent->children())
    if (auto* Control = qobject_cast<TGraphicControlEx*>(Child)) Controls.append(Control);
  for (const QPointer<TGraphicControlEx>& Control : Controls)
    if (Control) Control->HandleGroupNotice(ANotice);
}

}  // namespace tintbox
