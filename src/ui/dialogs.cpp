#include "ui/dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/application.h"
#include "ui/placement.h"

namespace tintbox {

namespace {

TDialogProvider DefaultProvider;
TDialogProvider* CurrentProvider = nullptr;

// A dialog frame: fixed size, a title bar with a close box, no minimise or
// maximise box.
constexpr Qt::WindowFlags DialogFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                        Qt::MSWindowsFixedSizeDialogHint;

// A standard button's caption as Qt gives it to its own dialogs: from Qt's
// catalogue of the player's language when one is installed, else "OK" and
// "Cancel".
QString StandardButtonText(QDialogButtonBox::StandardButton AButton) {
  QDialogButtonBox Box;
  return Box.addButton(AButton)->text();
}

// The width of a button's caption as it is drawn: a "&" marks a mnemonic.
int32_t CaptionWidth(const QFontMetrics& AMetrics, QString ACaption) {
  return AMetrics.horizontalAdvance(ACaption.remove(QLatin1Char('&')));
}

QScreen* ActiveScreen() {
  if (QWidget* Active = QApplication::activeWindow())
    if (QScreen* S = Active->screen()) return S;
  return QGuiApplication::primaryScreen();
}

// Pixels per inch of the active window, else of the screen.
int32_t FormPixelsPerInch() {
  if (QWidget* Active = QApplication::activeWindow()) return Active->logicalDpiY();
  QScreen* S = QGuiApplication::primaryScreen();
  return S ? int32_t(std::lround(S->logicalDotsPerInchY())) : 96;
}

int32_t ScreenPixelsPerInch() {
  QScreen* S = QGuiApplication::primaryScreen();
  return S ? int32_t(std::lround(S->logicalDotsPerInchY())) : 96;
}

}  // namespace

// ---------------------------------------------------------------------------

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t n = int64_t(a) * b;
  const bool Negative = (n < 0) != (c < 0);
  const uint64_t an = uint64_t(n < 0 ? -n : n);
  const uint64_t ac = uint64_t(c < 0 ? -int64_t(c) : int64_t(c));
  const uint64_t q = (an + ac / 2) / ac;
  if (q > uint64_t(std::numeric_limits<int32_t>::max())) return -1;
  return Negative ? -int32_t(q) : int32_t(q);
}

TDialogUnits DialogUnitsOf(const QFont& AFont, const QPaintDevice* ADevice) {
  const QFontMetrics Metrics = ADevice ? QFontMetrics(AFont, ADevice) : QFontMetrics(AFont);
  const QString Letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return TDialogUnits{Metrics.horizontalAdvance(Letters) / 52, Metrics.height()};
}

// The platform's message font; Qt scales a point-sized font to the pixels
// per inch of the device it is drawn on.
QFont DialogFont() {
  return QApplication::font("QMessageBox");
}

void CenterOnWorkArea(QWidget* AForm) {
  QScreen* S = ActiveScreen();
  if (!S || !AForm) return;
  const QRect Area = S->availableGeometry();
  PlaceByFrame(AForm,
               [AForm, Area](const QMargins& AFrame) { CentreFrameOn(AForm, AFrame, Area); });
}

// ---------------------------------------------------------------------------
// TMessageForm

TMessageForm::TMessageForm(const QString& AText, QWidget* AOwner) : QDialog(AOwner, DialogFlags) {
  setWindowTitle(TApplication::Title());
  setFont(DialogFont());
  const TDialogUnits U = DialogUnitsOf(font(), this);
  const QFontMetrics Metrics(font(), this);

  const int32_t HorzMargin = U.X(8), VertMargin = U.Y(8);
  const int32_t VertSpacing = U.Y(10);
  const QString OKCaption = StandardButtonText(QDialogButtonBox::Ok);
  const int32_t ButtonWidth = std::max(U.X(50), CaptionWidth(Metrics, OKCaption) + 8);
  const int32_t ButtonHeight = U.Y(14);
  const int32_t ButtonGroupWidth = ButtonWidth;  // a single button

  // The text word-wrapped at most half the screen wide.
  QScreen* Screen = QGuiApplication::primaryScreen();
  const int32_t MaxWidth = Screen ? Screen->geometry().width() / 2 : 400;
  const int TextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
  const QRect TextRect = Metrics.boundingRect(QRect(0, 0, MaxWidth, 0), TextFlags, AText);
  const int32_t TextWidth = TextRect.width(), TextHeight = TextRect.height();

  const int32_t ClientWidth = std::max(TextWidth, ButtonGroupWidth) + 2 * HorzMargin;
  int32_t ClientHeight = TextHeight + ButtonHeight + VertSpacing + 2 * VertMargin;
  const int32_t FormPPI = FormPixelsPerInch(), ScreenPPI = ScreenPixelsPerInch();
  if (FormPPI > ScreenPPI)
    ClientHeight += MulDiv(VertMargin / 2, FormPPI, ScreenPPI);
  else if (FormPPI < ScreenPPI)
    ClientHeight -= MulDiv(VertMargin / 2, ScreenPPI, FormPPI);
  setFixedSize(ClientWidth, ClientHeight);

  FMessage = new QLabel(this);
  FMessage->setObjectName(QStringLiteral("Message"));
  FMessage->setTextFormat(Qt::PlainText);
  FMessage->setWordWrap(true);
  FMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  FMessage->setContentsMargins(0, 0, 0, 0);
  FMessage->setText(AText);
  FMessage->setGeometry(HorzMargin, VertMargin, TextWidth, TextHeight);

  FOK = new QPushButton(OKCaption, this);
  FOK->setObjectName(QStringLiteral("OK"));
  FOK->setDefault(true);
  FOK->setGeometry((ClientWidth - ButtonGroupWidth) / 2, TextHeight + VertMargin + VertSpacing,
                   ButtonWidth, ButtonHeight);
  connect(FOK, &QPushButton::clicked, this, [this] { done(1); });
  FOK->setFocus();

  auto* Copy = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_C), this);
  connect(Copy, &QShortcut::activated, this, &TMessageForm::CopyToClipboard);
}

QString TMessageForm::ClipboardText() const {
  const QString Dashes(27, QLatin1Char('-'));
  const QString NL = QStringLiteral("\r\n");
  QString Buttons = FOK->text();
  Buttons.remove(QLatin1Char('&'));
  Buttons += QStringLiteral("   ");
  return Dashes + NL + windowTitle() + NL + Dashes + NL + FMessage->text() + NL + Dashes + NL +
         Buttons + NL + Dashes + NL;
}

void TMessageForm::CopyToClipboard() {
  QApplication::beep();
  QGuiApplication::clipboard()->setText(ClipboardText());
}

// ---------------------------------------------------------------------------
// TInputQueryForm

TInputQueryForm::TInputQueryForm(const QString& ACaption, const QString& APrompt,
                                 const QString& AValue, QWidget* AOwner)
    : QDialog(AOwner, DialogFlags) {
  setWindowTitle(ACaption);
  setFont(DialogFont());
  const int32_t PPI = FormPixelsPerInch();
  const auto S = [PPI](int32_t n) { return MulDiv(n, PPI, 96); };
  const TDialogUnits U = DialogUnitsOf(font(), this);
  const QFontMetrics Metrics(font(), this);

  // A prompt starting with a control character asks for a secret: the
  // character is not shown and the edit box hides what is typed.
  QString PromptText = APrompt;
  const bool Secret = APrompt.size() >= 2 && APrompt.at(0).unicode() < 32;
  if (Secret) PromptText.remove(0, 1);

  const int LabelFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextExpandTabs;
  const int32_t P = Metrics.boundingRect(QRect(), LabelFlags, PromptText).width() + U.AvgW;
  const int32_t ClientWidth = MulDiv(S(180) + P, U.AvgW, S(4));

  FPrompt = new QLabel(this);
  FPrompt->setTextFormat(Qt::PlainText);
  FPrompt->setWordWrap(true);
  FPrompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  FPrompt->setContentsMargins(0, 0, 0, 0);
  FPrompt->setText(PromptText);
  const QRect LabelRect =
      Metrics.boundingRect(QRect(0, 0, P, 0), LabelFlags | Qt::TextWordWrap, PromptText);
  FPrompt->setGeometry(U.X(8), U.Y(8), LabelRect.width(), LabelRect.height());

  FEdit = new QLineEdit(this);
  FEdit->setMaxLength(255);
  if (Secret) FEdit->setEchoMode(QLineEdit::Password);
  const int32_t EditHeight = FEdit->sizeHint().height();
  // The edit box's text line starts below its frame and its one-pixel text
  // margin, centred in what remains; the label's first line starts at its top.
  const int32_t Frame = FEdit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, FEdit);
  const int32_t EditTextTop = Frame + 1 + (EditHeight - 2 * Frame - 2 - Metrics.height() + 1) / 2;
  const int32_t EditLeft = FPrompt->x() + P;
  // Baseline on baseline: the edit's text line level with the label's last line.
  const int32_t EditTop = FPrompt->y() + FPrompt->height() - U.LineH - EditTextTop;
  FEdit->setGeometry(EditLeft, EditTop, ClientWidth - EditLeft - U.X(8), EditHeight);
  FEdit->setText(AValue);
  FEdit->selectAll();
  FPrompt->setBuddy(FEdit);

  // A caption of Qt's catalogue wider than a button widens both.
  const QString OKCaption = StandardButtonText(QDialogButtonBox::Ok);
  const QString CancelCaption = StandardButtonText(QDialogButtonBox::Cancel);
  const int32_t Bw = std::max(
      {U.X(50), CaptionWidth(Metrics, OKCaption) + 8, CaptionWidth(Metrics, CancelCaption) + 8});
  const int32_t Bh = U.Y(14);
  const int32_t ButtonTop = EditTop + EditHeight + S(15);
  FOK = new QPushButton(OKCaption, this);
  FOK->setDefault(true);
  FOK->setGeometry(ClientWidth - 2 * (Bw + U.X(8)), ButtonTop, Bw, Bh);
  connect(FOK, &QPushButton::clicked, this, &QDialog::accept);
  FCancel = new QPushButton(CancelCaption, this);
  FCancel->setGeometry(ClientWidth - (Bw + U.X(8)), ButtonTop, Bw, Bh);
  connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);

  setFixedSize(ClientWidth, FCancel->y() + FCancel->height() + S(13));
  FEdit->setFocus();
}

// ---------------------------------------------------------------------------
// The providers

TDialogProvider::~TDialogProvider() = default;

void TDialogProvider::ShowPlainMessage(const QString& AText) {
  TMessageForm Form(AText, QApplication::activeWindow());
  CenterOnWorkArea(&Form);
  Form.exec();
}

bool TDialogProvider::InputQuery(const QString& ACaption, const QString& APrompt, QString& AValue) {
  TInputQueryForm Form(ACaption, APrompt, AValue, QApplication::activeWindow());
  CenterOnWorkArea(&Form);
  if (Form.exec() != QDialog::Accepted) return false;
  AValue = Form.Edit()->text();
  return true;
}

namespace {

// Qt's message box takes its size only as it shows: it is centred on the work
// area then, before it appears, like the program's own dialogs.
class TErrorBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void showEvent(QShowEvent* AEvent) override {
    QMessageBox::showEvent(AEvent);
    CenterOnWorkArea(this);
  }
};

}  // namespace

void TDialogProvider::ShowException(const QString& AText) {
  TErrorBox Box(QMessageBox::Critical, TApplication::Title(), AText, QMessageBox::Ok,
                QApplication::activeWindow());
  Box.exec();
}

void SetDialogProvider(TDialogProvider* AProvider) {
  CurrentProvider = AProvider;
}

TDialogProvider& DialogProvider() {
  return CurrentProvider ? *CurrentProvider : DefaultProvider;
}

void ShowPlainMessage(const QString& AText) {
  DialogProvider().ShowPlainMessage(AText);
}

bool InputQuery(const QString& ACaption, const QString& APrompt, QString& AValue) {
  return DialogProvider().InputQuery(ACaption, APrompt, AValue);
}

QString AskText(const QString& ACaption, const QString& APrompt, const QString& APreset) {
  QString Value = APreset;
  if (InputQuery(ACaption, APrompt, Value)) return Value;
  return APreset;
}

}  // namespace tintbox
