// The plain message and the input box: their layout in dialog units, what
// the player can do with them and what the callers get back.
#include "ui/dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>

#include "seen.h"
#include "ui/application.h"
#include "widgets/flatbutton.h"

using namespace tintbox;
using tintbox::seen::Describe;

// Readable QString values in failure messages.
[[maybe_unused]] static void PrintTo(const QString& S, std::ostream* Out) {
  *Out << '"' << S.toStdString() << '"';
}

namespace {

// a * b / c rounded to nearest, halves away from zero, as the layout rules say.
int Round(int a, int b, int c) {
  const double v = double(a) * b / c;
  return int(v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5));
}

struct TUnits {
  int AvgW, LineH;
};

TUnits UnitsOf(const QWidget& AForm) {
  const QFontMetrics M(AForm.font(), &AForm);
  return {
      M.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
          52,
      M.height()};
}

// Runs AAction on the modal dialog once it shows; exec() then returns when
// the action dismisses it.
void WhenModalShows(std::function<void(QWidget*)> AAction) {
  auto* Poll = new QTimer;
  Poll->setInterval(0);
  QObject::connect(Poll, &QTimer::timeout, [Poll, AAction] {
    QWidget* Modal = QApplication::activeModalWidget();
    if (!Modal || !Modal->isVisible()) return;
    Poll->stop();
    Poll->deleteLater();
    AAction(Modal);
  });
  Poll->start();
}

TEST(MulDiv, RoundsToNearestAndRefusesZero) {
  struct Case {
    int a, b, c, want;
  } Cases[] = {
      {8, 7, 4, 14},   {50, 7, 4, 88},  // 87.5 rounds up
      {1, 1, 2, 1},    {-1, 1, 2, -1},  // halves away from zero
      {14, 15, 8, 26}, {10, 15, 8, 19}, {5, 3, 0, -1}, {0, 9, 5, 0},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(MulDiv(C.a, C.b, C.c), C.want) << C.a << "*" << C.b << "/" << C.c;
}

TEST(MessageForm, LayoutInDialogUnits) {
  const QString Texts[] = {
      QStringLiteral("Нет картинок"),
      QStringLiteral("Не удалось загрузить картинку 7.bmp: в ней больше 10 цветов, кроме "
                     "чёрного. Картинку нужно исправить, а игра сейчас закроется, потому что "
                     "играть в неё нельзя.\tТабуляция тоже считается."),
  };
  for (const QString& Text : Texts) {
    TMessageForm Form(Text);
    const TUnits U = UnitsOf(Form);
    const QFontMetrics M(Form.font(), &Form);
    const int HM = Round(8, U.AvgW, 4), VM = Round(8, U.LineH, 8), VS = Round(10, U.LineH, 8);
    const int BW = std::max(Round(50, U.AvgW, 4), M.horizontalAdvance("OK") + 8);
    const int BH = Round(14, U.LineH, 8);
    const int Half = QGuiApplication::primaryScreen()->geometry().width() / 2;
    const QRect T = M.boundingRect(QRect(0, 0, Half, 0),
                                   Qt::AlignLeft | Qt::TextWordWrap | Qt::TextExpandTabs, Text);
    const int CW = std::max(T.width(), BW) + 2 * HM;
    const int CH = T.height() + BH + VS + 2 * VM;

    SCOPED_TRACE(Text.left(20).toStdString());
    EXPECT_EQ(Form.size(), QSize(CW, CH));
    EXPECT_EQ(Form.Message()->geometry(), QRect(HM, VM, T.width(), T.height()))
        << "got " << Describe(Form.Message()->geometry());
    EXPECT_EQ(Form.OKButton()->geometry(), QRect((CW - BW) / 2, T.height() + VM + VS, BW, BH))
        << "got " << Describe(Form.OKButton()->geometry());
    EXPECT_LE(T.width(), Half);
    // The label shows all of its text in the measured box.
    EXPECT_LE(Form.Message()->heightForWidth(T.width()), T.height());
    EXPECT_EQ(Form.Message()->objectName(), "Message");
    EXPECT_EQ(Form.Message()->text(), Text);
    EXPECT_EQ(Form.OKButton()->objectName(), "OK");
    EXPECT_EQ(Form.OKButton()->text(), "OK");
    EXPECT_TRUE(Form.OKButton()->isDefault());
    EXPECT_EQ(Form.windowTitle(), TApplication::Title());
  }
  // The long text wraps onto several lines.
  TMessageForm Long(Texts[1]);
  EXPECT_GE(Long.Message()->height(), 2 * UnitsOf(Long).LineH);
}

TEST(MessageForm, AnActiveWindowOfAnotherDensityCorrectsTheHeight) {
  // The active window reports a density of its own, as on a second monitor
  // whose density differs from the primary one's.
  struct TDenseWindow : QWidget {
    int Dpi = 96;
    int metric(PaintDeviceMetric AMetric) const override {
      return AMetric == PdmDpiY ? Dpi : QWidget::metric(AMetric);
    }
  } Window;
  Window.show();
  Window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
  ASSERT_EQ(QApplication::activeWindow(), &Window);
  const int Screen = int(std::lround(QGuiApplication::primaryScreen()->logicalDotsPerInchY()));
  const QString Text = QStringLiteral("Нет картинок");
  Window.Dpi = Screen;
  const TMessageForm Same(Text);
  struct Case {
    const char* What;
    int Dpi, Sign;
  } Cases[] = {{"twice as dense", 2 * Screen, +1}, {"half as dense", Screen / 2, -1}};
  for (const Case& C : Cases) {
    Window.Dpi = C.Dpi;
    const TMessageForm Form(Text);
    // Half the vertical margin, scaled by the ratio of the two densities (2).
    const int HalfMargin = Form.Message()->y() / 2;
    EXPECT_EQ(Form.height() - Same.height(), C.Sign * 2 * HalfMargin) << C.What;
    EXPECT_EQ(Form.width(), Same.width()) << C.What;
  }
}

TEST(MessageForm, CtrlCCopiesTheWholeForm) {
  TMessageForm Form(QStringLiteral("Картинка 3.bmp не открывается"));
  Form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
  QGuiApplication::clipboard()->clear();
  QTest::keyClick(Form.windowHandle(), Qt::Key_C, Qt::ControlModifier);
  const QString Line(27, QLatin1Char('-'));
  const QString Want = Line + "\r\n" + TApplication::Title() + "\r\n" + Line + "\r\n" +
                       QStringLiteral("Картинка 3.bmp не открывается") + "\r\n" + Line + "\r\n" +
                       "OK   \r\n" + Line + "\r\n";
  EXPECT_EQ(QGuiApplication::clipboard()->text(), Want)
      << "got " << QGuiApplication::clipboard()->text().toStdString();
}

TEST(PlainMessage, AnyDismissalReturnsAndTheFormIsCentred) {
  struct Case {
    const char* How;
    std::function<void(QWidget*)> Dismiss;
  } Cases[] = {
      {"OK", [](QWidget* M) { M->findChild<QPushButton*>("OK")->click(); }},
      {"Enter", [](QWidget* M) { QTest::keyClick(M->windowHandle(), Qt::Key_Return); }},
      {"Esc", [](QWidget* M) { QTest::keyClick(M->windowHandle(), Qt::Key_Escape); }},
      {"close box", [](QWidget* M) { M->close(); }},
  };
  for (const Case& C : Cases) {
    bool Seen = false;
    WhenModalShows([&](QWidget* M) {
      Seen = true;
      auto* Form = qobject_cast<TMessageForm*>(M);
      ASSERT_NE(Form, nullptr) << C.How;
      EXPECT_EQ(Form->windowTitle(), TApplication::Title());
      EXPECT_EQ(Form->focusWidget(), Form->OKButton()) << C.How;
      const QRect Area = QGuiApplication::primaryScreen()->availableGeometry();
      const QRect F = Form->frameGeometry();
      EXPECT_EQ(F.left(), Area.left() + (Area.width() - F.width()) / 2) << C.How;
      EXPECT_EQ(F.top(), Area.top() + (Area.height() - F.height()) / 2) << C.How;
      C.Dismiss(M);
    });
    ShowPlainMessage(QStringLiteral("Нет картинок"));
    EXPECT_TRUE(Seen) << C.How;
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << C.How;
  }
}

TEST(PlainMessage, OtherWindowsTakeNoInputMeanwhile) {
  QWidget Main;
  Main.resize(200, 100);
  auto* Button = new TFlatButton(&Main);
  Button->setGeometry(10, 10, 60, 40);
  int Clicks = 0;
  Button->OnClick = [&](QObject*) { ++Clicks; };
  Main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Main));
  Main.activateWindow();
  QApplication::setActiveWindow(&Main);

  WhenModalShows([&](QWidget* M) {
    EXPECT_EQ(M->parentWidget(), &Main) << "owned by the active window";
    QTest::mouseClick(Main.windowHandle(), Qt::LeftButton, {}, QPoint(30, 30));
    M->findChild<QPushButton*>("OK")->click();
  });
  ShowPlainMessage(QStringLiteral("Нет картинок"));
  EXPECT_EQ(Clicks, 0);
  QTest::mouseClick(Main.windowHandle(), Qt::LeftButton, {}, QPoint(30, 30));
  EXPECT_EQ(Clicks, 1) << "the window takes input again afterwards";
}

TEST(InputQuery, ResultsForEveryWayOfClosing) {
  struct Case {
    const char* How;
    std::function<void(TInputQueryForm*)> Act;
    bool WantResult;
    QString WantValue;
  } Cases[] = {
      {"type and OK",
       [](TInputQueryForm* F) {
         QTest::keyClicks(F->Edit(), "12");
         F->OKButton()->click();
       },
       true, "12"},
      {"type and Enter",
       [](TInputQueryForm* F) {
         QTest::keyClicks(F->Edit(), "7");
         QTest::keyClick(F->Edit(), Qt::Key_Return);
       },
       true, "7"},
      {"empty and Enter",
       [](TInputQueryForm* F) {
         QTest::keyClick(F->Edit(), Qt::Key_Delete);
         QTest::keyClick(F->Edit(), Qt::Key_Return);
       },
       true, ""},
      {"Enter untouched", [](TInputQueryForm* F) { QTest::keyClick(F->Edit(), Qt::Key_Return); },
       true, "5"},
      {"type and Cancel",
       [](TInputQueryForm* F) {
         QTest::keyClicks(F->Edit(), "12");
         F->CancelButton()->click();
       },
       false, "5"},
      {"type and Esc",
       [](TInputQueryForm* F) {
         QTest::keyClicks(F->Edit(), "12");
         QTest::keyClick(F->Edit(), Qt::Key_Escape);
       },
       false, "5"},
      {"close box", [](TInputQueryForm* F) { F->close(); }, false, "5"},
  };
  for (const Case& C : Cases) {
    WhenModalShows([&](QWidget* M) {
      auto* Form = qobject_cast<TInputQueryForm*>(M);
      ASSERT_NE(Form, nullptr) << C.How;
      EXPECT_EQ(Form->windowTitle(), QStringLiteral("Выбор картинки"));
      EXPECT_EQ(Form->focusWidget(), Form->Edit()) << C.How;
      EXPECT_EQ(Form->Edit()->selectedText(), "5") << C.How;
      C.Act(Form);
    });
    QString Value = QStringLiteral("5");
    const bool Result =
        InputQuery(QStringLiteral("Выбор картинки"), QStringLiteral("Номер картинки:"), Value);
    EXPECT_EQ(Result, C.WantResult) << C.How;
    EXPECT_EQ(Value, C.WantValue) << C.How << ": got " << Value.toStdString();
  }
}

TEST(InputQuery, AskTextGivesThePresetUnlessConfirmed) {
  WhenModalShows([](QWidget* M) {
    QTest::keyClicks(qobject_cast<TInputQueryForm*>(M)->Edit(), "12a");
    QTest::keyClick(M->windowHandle(), Qt::Key_Escape);
  });
  EXPECT_EQ(AskText("Выбор картинки", "Номер:", "4"), "4");
  WhenModalShows([](QWidget* M) {
    auto* F = qobject_cast<TInputQueryForm*>(M);
    QTest::keyClicks(F->Edit(), "12a");
    F->OKButton()->click();
  });
  EXPECT_EQ(AskText("Выбор картинки", "Номер:", "4"), "12a");
}

TEST(InputQuery, TakesAtMost255Characters) {
  WhenModalShows([](QWidget* M) {
    auto* F = qobject_cast<TInputQueryForm*>(M);
    QTest::keyClicks(F->Edit(), QString(300, QLatin1Char('9')));
    EXPECT_EQ(F->Edit()->text().size(), 255);
    F->OKButton()->click();
  });
  QString Value = "1";
  ASSERT_TRUE(InputQuery("Выбор картинки", "Номер:", Value));
  EXPECT_EQ(Value, QString(255, QLatin1Char('9')));
}

TEST(InputQuery, LayoutInDialogUnits) {
  const QString Prompt = QStringLiteral("Введите номер картинки (1..12):");
  TInputQueryForm Form(QStringLiteral("Выбор картинки"), Prompt, QStringLiteral("3"));
  const TUnits U = UnitsOf(Form);
  const QFontMetrics M(Form.font(), &Form);
  const int PPI = QApplication::activeWindow()
                      ? QApplication::activeWindow()->logicalDpiY()
                      : int(std::lround(QGuiApplication::primaryScreen()->logicalDotsPerInchY()));
  auto S = [PPI](int n) { return Round(n, PPI, 96); };
  const int P = M.horizontalAdvance(Prompt) + U.AvgW;
  const int CW = Round(S(180) + P, U.AvgW, S(4));
  const int Margin = Round(8, U.AvgW, 4);
  const int Bw = Round(50, U.AvgW, 4), Bh = Round(14, U.LineH, 8);

  EXPECT_EQ(Form.width(), CW);
  EXPECT_EQ(Form.Prompt()->pos(), QPoint(Margin, Round(8, U.LineH, 8)));
  EXPECT_EQ(Form.Prompt()->text(), Prompt);
  EXPECT_LE(Form.Prompt()->width(), P);
  const QRect E = Form.Edit()->geometry();
  EXPECT_EQ(E.left(), Margin + P) << Describe(E);
  EXPECT_EQ(E.width(), CW - (Margin + P) - Margin) << Describe(E);
  EXPECT_EQ(Form.Edit()->maxLength(), 255);
  EXPECT_EQ(Form.Edit()->text(), "3");
  EXPECT_EQ(Form.Edit()->selectedText(), "3");
  const int Top = E.bottom() + 1 + S(15);
  EXPECT_EQ(Form.OKButton()->geometry(), QRect(CW - 2 * (Bw + Margin), Top, Bw, Bh))
      << "got " << Describe(Form.OKButton()->geometry());
  EXPECT_EQ(Form.CancelButton()->geometry(), QRect(CW - (Bw + Margin), Top, Bw, Bh))
      << "got " << Describe(Form.CancelButton()->geometry());
  EXPECT_EQ(Form.OKButton()->text(), "OK");
  EXPECT_EQ(Form.CancelButton()->text(), "Cancel");
  EXPECT_TRUE(Form.OKButton()->isDefault());
  EXPECT_EQ(Form.height(), Top + Bh + S(13));
}

// The last line of the prompt and the edit box's text stand on one baseline.
TEST(InputQuery, PromptAndTextShareABaseline) {
  TInputQueryForm Form(QStringLiteral("Выбор"), QStringLiteral("H"), QStringLiteral("H"));
  Form.Edit()->deselect();
  Form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
  Form.OKButton()->setFocus();  // no text cursor in the edit box
  const QImage Shot = Form.grab().toImage();
  auto LowestDark = [&](const QRect& R) {
    int Lowest = -1;
    for (int y = R.top(); y <= R.bottom(); ++y)
      for (int x = R.left(); x <= R.right(); ++x)
        if (qGray(Shot.pixel(x, y)) < 110) Lowest = y;
    return Lowest;
  };
  const QRect L = Form.Prompt()->geometry();
  const QRect E = Form.Edit()->geometry().adjusted(3, 3, -3, -3);
  const int LabelBase = LowestDark(L), EditBase = LowestDark(E);
  ASSERT_GE(LabelBase, 0);
  ASSERT_GE(EditBase, 0);
  EXPECT_EQ(EditBase, LabelBase) << "edit text bottom " << EditBase << " prompt bottom "
                                 << LabelBase;
}

TEST(InputQuery, ControlCharacterPromptHidesTheText) {
  TInputQueryForm Form("Вход", QStringLiteral("\x01Пароль"), "секрет");
  EXPECT_EQ(Form.Prompt()->text(), QStringLiteral("Пароль"));
  EXPECT_EQ(Form.Edit()->echoMode(), QLineEdit::Password);
  TInputQueryForm Plain("Вход", QStringLiteral("\x01"), "x");
  EXPECT_EQ(Plain.Edit()->echoMode(), QLineEdit::Normal) << "a one-character prompt is plain";
}

class FakeDialogs : public TDialogProvider {
 public:
  void ShowPlainMessage(const QString& AText) override { Messages << AText; }
  bool InputQuery(const QString& ACaption, const QString&, QString& AValue) override {
    Captions << ACaption;
    if (!Answer) return false;
    AValue = *Answer;
    return true;
  }
  void ShowException(const QString& AText) override { Errors << AText; }
  QStringList Messages, Captions, Errors;
  std::optional<QString> Answer;
};

TEST(DialogProvider, CallersCanBeAnsweredWithoutDialogs) {
  FakeDialogs Fake;
  SetDialogProvider(&Fake);
  ShowPlainMessage("Нет картинок");
  Fake.Answer = "9";
  EXPECT_EQ(AskText("Выбор картинки", "Номер:", "2"), "9");
  Fake.Answer.reset();
  EXPECT_EQ(AskText("Выбор картинки", "Номер:", "2"), "2");
  SetDialogProvider(nullptr);
  EXPECT_EQ(Fake.Messages, QStringList{"Нет картинок"});
  EXPECT_EQ(Fake.Captions, QStringList({"Выбор картинки", "Выбор картинки"}));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(&DialogProvider() == &Fake, false);
}

}  // namespace
