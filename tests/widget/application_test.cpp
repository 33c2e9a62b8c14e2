// The application title, the error text and the event dispatch that reports
// an error escaping a handler and goes on with the next event.
#include "ui/application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <memory>

#include "picture/errors.h"
#include "ui/dialogs.h"
#include "widgets/flatbutton.h"
#include "widgets/frametimer.h"

using namespace tintbox;

// Readable QString values in failure messages.
[[maybe_unused]] static void PrintTo(const QString& S, std::ostream* Out) {
  *Out << '"' << S.toStdString() << '"';
}

namespace {

TEST(ApplicationTitle, FromTheProgramFileName) {
  struct Case {
    const char* Path;
    const char* Want;
  } Cases[] = {
      {"MyGame.Final.EXE", "Mygame"},
      {"/usr/games/tintbox", "tintbox"},
      {"/opt/my.games/TINTBOX", "Tintbox"},  // a dot in a folder name does not count
      {"./Tintbox.bin", "Tintbox"},
      {"C.exe", "C"},
      {"x", "x"},
      {"", ""},
      {".hidden", ""},
      {"/home/ЁЛКА.exe", "Ёлка"},
      {"aBC", "abc"},  // the first character is kept as it is
  };
  for (const Case& C : Cases)
    EXPECT_EQ(ApplicationTitle(QString::fromUtf8(C.Path)), QString::fromUtf8(C.Want))
        << C.Path << ": got " << ApplicationTitle(QString::fromUtf8(C.Path)).toStdString();
}

TEST(ApplicationTitle, TheRunningProgramHasOne) {
  EXPECT_EQ(TApplication::Title(), QStringLiteral("widget_tests"));
}

TEST(ErrorText, AppendsAFullStopAfterLettersAndDigits) {
  struct Case {
    const char* Message;
    const char* Want;
  } Cases[] = {
      {"", ""},
      {"Argument out of range", "Argument out of range."},
      {"'12a' is not a valid integer value for Integer type",
       "'12a' is not a valid integer value for Integer type."},
      {"Already done.", "Already done."},
      {"Stop!", "Stop!"},
      {"(see above)", "(see above)"},
      {"quoted'", "quoted'"},
      {"quoted\"", "quoted\""},
      {"trailing ", "trailing "},
      {"dash-", "dash-"},     // U+002D is below "."
      {"slash/", "slash/."},  // U+002F is above it
      {"ends in 7", "ends in 7."},
      {"Ошибка", "Ошибка."},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(ErrorText(QString::fromUtf8(C.Message)), QString::fromUtf8(C.Want))
        << "'" << C.Message << "': got '" << ErrorText(QString::fromUtf8(C.Message)).toStdString()
        << "'";
}

TEST(ErrorText, TheInnermostNonEmptyMessageOfNestedErrors) {
  try {
    try {
      throw EConvertError("inner");
    } catch (...) {
      std::throw_with_nested(EReadError("outer"));
    }
  } catch (const std::exception& E) {
    EXPECT_EQ(ExceptionMessage(E), "inner");
  }
  try {
    try {
      throw EConvertError("");
    } catch (...) {
      std::throw_with_nested(EReadError("outer"));
    }
  } catch (const std::exception& E) {
    EXPECT_EQ(ExceptionMessage(E), "outer") << "an empty inner message is skipped";
  }
}

class FakeDialogs : public TDialogProvider {
 public:
  void ShowPlainMessage(const QString&) override {}
  bool InputQuery(const QString&, const QString&, QString&) override { return false; }
  void ShowException(const QString& AText) override { Errors << AText; }
  QStringList Errors;
};

// One of the program's controls, whose press handler raises whatever it is
// given.
class Thrower : public TGraphicControlEx {
 public:
  using TGraphicControlEx::TGraphicControlEx;
  std::function<void()> OnPress;
  int Presses = 0;

 protected:
  void mousePressEvent(QMouseEvent*) override {
    ++Presses;
    if (OnPress) OnPress();
  }
};

class DispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDialogProvider(&Fake);
    Window = std::make_unique<QWidget>();
    Window->resize(300, 120);
    Target = new Thrower(Window.get());
    Target->setGeometry(0, 0, 100, 100);
    Button = new TFlatButton(Window.get());
    Button->setGeometry(150, 20, 80, 40);
    Button->SetCaption("3/8");
    Button->OnClick = [this](QObject*) { ++Clicks; };
    Window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    QTest::mouseMove(Window->windowHandle(), QPoint(290, 110));
  }
  void TearDown() override {
    Window.reset();
    SetDialogProvider(nullptr);
  }
  void ClickAt(QPoint P) { QTest::mouseClick(Window->windowHandle(), Qt::LeftButton, {}, P); }
  QImage ButtonOnScreen() {
    return Window->windowHandle()
        ->screen()
        ->grabWindow(Window->winId(), Button->x(), Button->y(), Button->width(), Button->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }

  FakeDialogs Fake;
  std::unique_ptr<QWidget> Window;
  Thrower* Target = nullptr;
  TFlatButton* Button = nullptr;
  int Clicks = 0;
};

TEST_F(DispatchTest, AnErrorInAMouseHandlerIsReportedOnceAndTheLoopGoesOn) {
  Target->OnPress = [] {
    throw EConvertError("'12a' is not a valid integer value for Integer type");
  };
  ClickAt(QPoint(50, 50));
  ASSERT_EQ(Fake.Errors.size(), 1);
  EXPECT_EQ(Fake.Errors[0], "'12a' is not a valid integer value for Integer type.");
  // The next events are handled as usual.
  ClickAt(QPoint(190, 40));
  EXPECT_EQ(Clicks, 1);
  ClickAt(QPoint(50, 50));
  EXPECT_EQ(Target->Presses, 2);
  EXPECT_EQ(Fake.Errors.size(), 2);
}

TEST_F(DispatchTest, ErrorKindsAndTexts) {
  struct Case {
    const char* What;
    std::function<void()> Raise;
    QStringList Want;
  } Cases[] = {
      {"out of range",
       [] { throw EArgumentOutOfRangeException("Argument out of range"); },
       {"Argument out of range."}},
      {"already ends in a full stop",
       [] { throw EReadError("Stream read error."); },
       {"Stream read error."}},
      {"silent kind", [] { throw EAbort("Operation aborted"); }, {}},
      {"any standard error", [] { throw std::runtime_error("disk full"); }, {"disk full."}},
  };
  for (const Case& C : Cases) {
    Fake.Errors.clear();
    Target->OnPress = C.Raise;
    ClickAt(QPoint(50, 50));
    EXPECT_EQ(Fake.Errors, C.Want) << C.What;
  }
}

TEST_F(DispatchTest, OnClickThatRaisesLeavesTheButtonUp) {
  Button->OnClick = [](QObject*) {
    throw EConvertError("'x' is not a valid integer value for Integer type");
  };
  QTest::mouseMove(Window->windowHandle(), QPoint(290, 110));
  const QImage Up = Button->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ClickAt(QPoint(190, 40));
  ASSERT_EQ(Fake.Errors.size(), 1);
  EXPECT_EQ(Fake.Errors[0], "'x' is not a valid integer value for Integer type.");
  EXPECT_FALSE(Button->States().testFlag(bsMouseDown));
  EXPECT_EQ(TGraphicControlEx::CaptureControl(), nullptr);
  // The screen shows it up (with the pointer still over it: the hover frame).
  EXPECT_NE(ButtonOnScreen().pixelColor(0, 0), QColor(Qt::black));
  Button->OnClick = [this](QObject*) { ++Clicks; };
  ClickAt(QPoint(190, 40));
  EXPECT_EQ(Clicks, 1) << "the button works again";
}

TEST_F(DispatchTest, AnErrorWhileAButtonIsHeldReleasesIt) {
  QTest::mousePress(Window->windowHandle(), Qt::LeftButton, {}, QPoint(190, 40));
  ASSERT_TRUE(Button->States().testFlag(bsMouseDown));
  ASSERT_EQ(ButtonOnScreen().pixelColor(0, 0), QColor(Qt::black)) << "pressed look";
  QTimer::singleShot(0, [] { throw EArgumentOutOfRangeException("Argument out of range"); });
  QCoreApplication::processEvents();
  EXPECT_EQ(Fake.Errors, QStringList{"Argument out of range."});
  EXPECT_FALSE(Button->States().testFlag(bsMouseDown));
  EXPECT_NE(ButtonOnScreen().pixelColor(0, 0), QColor(Qt::black)) << "up again at once";
  QTest::mouseRelease(Window->windowHandle(), Qt::LeftButton, {}, QPoint(190, 40));
  EXPECT_EQ(Clicks, 0) << "the cancelled press gives no click";
}

TEST_F(DispatchTest, AnErrorInATimerHandlerIsReportedAndTheTimerGoesOn) {
  TFrameTimer Timer(nullptr);
  int Ticks = 0;
  Timer.SetOnTimer([&] {
    if (++Ticks == 1) throw EReadError("Stream read error");
  });
  Timer.SetInterval(1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Ticks >= 3; }, 5000));
  EXPECT_EQ(Fake.Errors, QStringList{"Stream read error."});
}

TEST_F(DispatchTest, RunGuardedReportsAndTellsTheCaller) {
  bool Ran = false;
  EXPECT_TRUE(RunGuarded([&] { Ran = true; }));
  EXPECT_TRUE(Ran);
  EXPECT_FALSE(RunGuarded([] { throw EInvalidGraphic("Bitmap image is not valid"); }));
  EXPECT_EQ(Fake.Errors, QStringList{"Bitmap image is not valid."});
}

TEST(ErrorBox, TheRealBoxShowsTheTextWithTheErrorIcon) {
  SetDialogProvider(nullptr);
  bool Seen = false;
  auto* Poll = new QTimer;
  Poll->setInterval(0);
  QObject::connect(Poll, &QTimer::timeout, [&Seen, Poll] {
    auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!Box || !Box->isVisible()) return;
    Poll->stop();
    Poll->deleteLater();
    Seen = true;
    EXPECT_EQ(Box->icon(), QMessageBox::Critical);
    EXPECT_EQ(Box->windowTitle(), TApplication::Title());
    EXPECT_EQ(Box->text(), "Argument out of range.");
    EXPECT_EQ(Box->buttons().size(), 1);
    Box->button(QMessageBox::Ok)->click();
  });
  Poll->start();
  EXPECT_FALSE(RunGuarded([] { throw EArgumentOutOfRangeException("Argument out of range"); }));
  EXPECT_TRUE(Seen);
}

}  // namespace
