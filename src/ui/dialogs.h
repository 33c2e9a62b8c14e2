// The plain message, the input box and the error box. Every caller goes
// through the current dialog provider, so that tests of the game can answer
// the dialogs without showing them; the default provider shows the real ones.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QLabel;
class QPaintDevice;
class QLineEdit;
class QPushButton;

namespace tintbox {

class TDialogProvider {
 public:
  virtual ~TDialogProvider();
  // Shows AText and returns when the player has dismissed it.
  virtual void ShowPlainMessage(const QString& AText);
  // True with AValue set to the edited text when the player confirms; false
  // with AValue unchanged otherwise.
  virtual bool InputQuery(const QString& ACaption, const QString& APrompt, QString& AValue);
  // The error box: AText as it is to be shown, error icon, one OK button.
  virtual void ShowException(const QString& AText);
};

// nullptr restores the real dialogs. The provider is not owned.
void SetDialogProvider(TDialogProvider* AProvider);
TDialogProvider& DialogProvider();

void ShowPlainMessage(const QString& AText);
bool InputQuery(const QString& ACaption, const QString& APrompt, QString& AValue);
// The edited text when the player confirms, APreset otherwise.
QString AskText(const QString& ACaption, const QString& APrompt, const QString& APreset);

// a * b / c rounded to the nearest integer (halves away from zero); -1 when c is 0.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// Dialog units of a form's font: avgW is the width of "A".."Z","a".."z"
// divided by 52, lineH the height of that text.
struct TDialogUnits {
  int32_t AvgW = 0;
  int32_t LineH = 0;
  int32_t X(int32_t n) const { return MulDiv(n, AvgW, 4); }
  int32_t Y(int32_t n) const { return MulDiv(n, LineH, 8); }
};
TDialogUnits DialogUnitsOf(const QFont& AFont, const QPaintDevice* ADevice = nullptr);

// The font of the program's own dialog forms.
QFont DialogFont();

// The plain message form.
class TMessageForm : public QDialog {
  Q_OBJECT

 public:
  explicit TMessageForm(const QString& AText, QWidget* AOwner = nullptr);

  QLabel* Message() const { return FMessage; }
  QPushButton* OKButton() const { return FOK; }
  // Puts the form's text on the clipboard and beeps (Ctrl+C).
  void CopyToClipboard();
  // The text CopyToClipboard puts on the clipboard.
  QString ClipboardText() const;

 private:
  QLabel* FMessage = nullptr;
  QPushButton* FOK = nullptr;
};

// The input box with one prompt and one value.
class TInputQueryForm : public QDialog {
  Q_OBJECT

 public:
  TInputQueryForm(const QString& ACaption, const QString& APrompt, const QString& AValue,
                  QWidget* AOwner = nullptr);

  QLabel* Prompt() const { return FPrompt; }
  QLineEdit* Edit() const { return FEdit; }
  QPushButton* OKButton() const { return FOK; }
  QPushButton* CancelButton() const { return FCancel; }

 private:
  QLabel* FPrompt = nullptr;
  QLineEdit* FEdit = nullptr;
  QPushButton* FOK = nullptr;
  QPushButton* FCancel = nullptr;
};

// Places AForm centred on the work area of the active window's screen (the
// primary screen when no window is active).
void CenterOnWorkArea(QWidget* AForm);

}  // namespace tintbox
