#include "ui/application.h"

#include <QWidget>
#include <optional>

#include "picture/errors.h"
#include "ui/dialogs.h"
#include "widgets/control.h"

namespace tintbox {

namespace {
std::optional<QString> FTitle;
}

QString ApplicationTitle(const QString& AProgramPath) {
  QString Name = AProgramPath.mid(AProgramPath.lastIndexOf(QLatin1Char('/')) + 1);
  const qsizetype Dot = Name.indexOf(QLatin1Char('.'));
  if (Dot >= 0) Name.truncate(Dot);
  if (Name.size() > 1) Name = Name.left(1) + Name.mid(1).toLower();
  return Name;
}

QString ErrorText(const QString& AMessage) {
  if (!AMessage.isEmpty() && AMessage.back().unicode() > u'.') return AMessage + QLatin1Char('.');
  return AMessage;
}

QString ExceptionMessage(const std::exception& E) {
  try {
    std::rethrow_if_nested(E);
  } catch (const std::exception& Inner) {
    const QString InnerMessage = ExceptionMessage(Inner);
    if (!InnerMessage.isEmpty()) return InnerMessage;
  } catch (...) {
  }
  return QString::fromUtf8(E.what());
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  SetTitle(ApplicationTitle(argc > 0 ? QString::fromLocal8Bit(argv[0]) : QString()));
  // The program's controls report their handlers' errors where they catch them.
  SetHandlerErrorReport([] { HandleException(nullptr); });
}

TApplication::~TApplication() {
  SetHandlerErrorReport(nullptr);
}

bool TApplication::notify(QObject* AReceiver, QEvent* AEvent) {
  try {
    return QApplication::notify(AReceiver, AEvent);
  } catch (...) {
    HandleException(AReceiver);
    return true;  // the event counts as handled; the loop goes on
  }
}

QString TApplication::Title() {
  if (!FTitle) {
    const QStringList Arguments = QCoreApplication::arguments();
    return ApplicationTitle(Arguments.isEmpty() ? QString() : Arguments.first());
  }
  return *FTitle;
}

void TApplication::SetTitle(const QString& AValue) {
  FTitle = AValue;
}

void TApplication::HandleException(QObject*) {
  const std::exception_ptr Error = std::current_exception();
  if (!Error) return;
  // A button held down when the error escaped comes up.
  if (QWidget* Grabber = QWidget::mouseGrabber()) Grabber->releaseMouse();
  TGraphicControlEx::CancelCapture();
  try {
    std::rethrow_exception(Error);
  } catch (const EAbort&) {
    // the silent kind
  } catch (const std::exception& E) {
    ShowException(E);
  } catch (...) {
    DialogProvider().ShowException(ErrorText(QStringLiteral("Unknown error")));
  }
}

void TApplication::ShowException(const std::exception& E) {
  DialogProvider().ShowException(ErrorText(ExceptionMessage(E)));
}

bool RunGuarded(const std::function<void()>& AProc, QObject* ASender) {
  try {
    AProc();
    return true;
  } catch (...) {
    TApplication::HandleException(ASender);
    return false;
  }
}

}  // namespace tintbox
