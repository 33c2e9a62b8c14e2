// The application object: its title and the event dispatch that reports an
// error escaping an event handler and goes on with the next event.
#pragma once

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

namespace tintbox {

// The title taken from a program file's path: the name without its folder,
// cut before the first ".", every character after the first in lower case.
QString ApplicationTitle(const QString& AProgramPath);

// The text the error report shows for a message: "." appended when the text is
// not empty and its last character's code is above that of ".".
QString ErrorText(const QString& AMessage);

// The message of an error; for nested errors the innermost non-empty one.
QString ExceptionMessage(const std::exception& E);

class TApplication : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);
  ~TApplication() override;

  // Wraps every event in the error report. The program's own controls report
  // their handlers' errors themselves, before they reach the window system's
  // code (see DeliverGuarded); this catches whatever else escapes.
  bool notify(QObject* AReceiver, QEvent* AEvent) override;

  // The title of the plain message and the error report.
  static QString Title();
  static void SetTitle(const QString& AValue);

  // Call inside a catch block: cancels the mouse capture, drops EAbort and
  // reports anything else through ShowException.
  static void HandleException(QObject* ASender);
  // Shows the error box for E.
  static void ShowException(const std::exception& E);
};

// Runs AProc inside the error report (FormCreate, FormShow): an error that
// escapes is reported and the caller goes on. True when AProc returned normally.
bool RunGuarded(const std::function<void()>& AProc, QObject* ASender = nullptr);

}  // namespace tintbox
