// The flat button as a person sees it: frame pixels, caption placement, the
// pressed, hover and down looks, group behaviour and the mouse rules.
#include "widgets/flatbutton.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <memory>
#include <optional>
#include <vector>

#include "game/game.h"
#include "seen.h"
#include "ui/mainwindow.h"

using namespace tintbox;

// Readable QString values in failure messages.
[[maybe_unused]] static void PrintTo(const QString& S, std::ostream* Out) {
  *Out << '"' << S.toStdString() << '"';
}

namespace {

// Distinct scheme colours, so every frame pixel tells which colour it got.
const QColor Shadow(0x80, 0x70, 0x60);
const QColor Highlight(0xF0, 0xF8, 0xFF);
const QColor Face(0xD4, 0xD0, 0xC8);
const QColor Black(0, 0, 0);
const QColor PanelColor(0xAD, 0xFF, 0x5B);

QString Name(const QColor& C) {
  return QStringLiteral("#%1").arg(C.rgb() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

// An expected look: a W x H image of colours built from outlines.
struct TLook {
  QImage Image;
  TLook(int W, int H, const QColor& AFill) : Image(W, H, QImage::Format_RGB32) {
    Image.fill(AFill);
  }
  void Set(int X, int Y, const QColor& C) {
    if (Image.rect().contains(X, Y)) Image.setPixelColor(X, Y, C);
  }
  // The one-pixel outline with corners (a, b) and (c, d).
  void Outline(int a, int b, int c, int d, const QColor& C) {
    for (int x = a; x <= c; ++x) Set(x, b, C), Set(x, d, C);
    for (int y = b; y <= d; ++y) Set(a, y, C), Set(c, y, C);
  }
  // Ring k: top and left edges in AFirst, right and bottom edges in ASecond,
  // the top-right and bottom-left corner pixels in ASecond.
  void Ring(int k, const QColor& AFirst, const QColor& ASecond) {
    const int W = Image.width(), H = Image.height();
    const int l = k, t = k, r = W - 1 - k, b = H - 1 - k;
    for (int x = l; x <= r; ++x) Set(x, t, AFirst), Set(x, b, ASecond);
    for (int y = t; y <= b; ++y) Set(l, y, AFirst), Set(r, y, ASecond);
    Set(r, t, ASecond);
    Set(l, b, ASecond);
  }
  void FillRect(int X, int Y, int W, int H, const QColor& C) {
    for (int y = Y; y < Y + H; ++y)
      for (int x = X; x < X + W; ++x) Set(x, y, C);
  }
};

// Compares every pixel; reports the count and the first few differences.
::testing::AssertionResult SameLook(const QImage& AGot, const QImage& AWant) {
  if (AGot.size() != AWant.size())
    return ::testing::AssertionFailure() << "size got " << AGot.width() << "x" << AGot.height()
                                         << " want " << AWant.width() << "x" << AWant.height();
  int Bad = 0;
  std::string First;
  for (int y = 0; y < AWant.height(); ++y)
    for (int x = 0; x < AWant.width(); ++x) {
      const QColor G = AGot.pixelColor(x, y), W = AWant.pixelColor(x, y);
      if (G.rgb() == W.rgb()) continue;
      if (++Bad <= 5)
        First += " (" + std::to_string(x) + "," + std::to_string(y) + ") got " +
                 Name(G).toStdString() + " want " + Name(W).toStdString() + ";";
    }
  if (Bad == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << Bad << " pixels differ:" << First;
}

int CountDifferences(const QImage& A, const QImage& B) {
  int n = 0;
  for (int y = 0; y < A.height(); ++y)
    for (int x = 0; x < A.width(); ++x) n += A.pixel(x, y) != B.pixel(x, y);
  return n;
}

// The bounding box of pixels inside AArea that differ from ABackground.
QRect InkBox(const QImage& AImage, const QRect& AArea, const QColor& ABackground) {
  QRect Box;
  for (int y = AArea.top(); y <= AArea.bottom(); ++y)
    for (int x = AArea.left(); x <= AArea.right(); ++x)
      if (AImage.pixel(x, y) != ABackground.rgb()) Box |= QRect(x, y, 1, 1);
  return Box;
}

QString Describe(const QRect& R) {
  return QStringLiteral("(%1,%2 %3x%4)").arg(R.x()).arg(R.y()).arg(R.width()).arg(R.height());
}

class FlatButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Scheme.emplace(seen::TScheme::TRoles{
        {QPalette::Dark, Shadow}, {QPalette::Light, Highlight}, {QPalette::Button, Face}});

    Window = std::make_unique<QWidget>();
    Window->resize(420, 200);
    // The panel: an alien child painting its own background, as on the main window.
    Panel = new QWidget(Window.get());
    Panel->setGeometry(10, 10, 400, 180);
    Panel->setAutoFillBackground(true);
    QPalette P = Panel->palette();
    P.setColor(QPalette::Window, PanelColor);
    Panel->setPalette(P);
  }

  void TearDown() override {
    Window.reset();
    Scheme.reset();
  }

  void Show() {
    Window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    // The pointer starts over the bare panel, away from every button.
    QTest::mouseMove(Win(), QPoint(Window->width() - 5, Window->height() - 5));
  }

  // Paints every pending area now, so that the screen shows the current state.
  void Settle() { Panel->repaint(); }

  // A navigation button as the main window sets it up.
  TFlatButton* Navigation(int Left, int Top, int W, int H, const QString& ACaption) {
    auto* B = new TFlatButton(Panel);
    SetupNavigationButton(B, ACaption, QRect(Left, Top, W, H));
    B->OnClick = [this](QObject* Sender) { Clicks.push_back(Sender); };
    B->show();
    return B;
  }

  // A palette button as the game sets one up.
  TFlatButton* Palette(int Left, int Top, TColor AColor) {
    return CreatePaletteButton(Panel, QRect(Left, Top, 50, 50), AColor,
                               [this](QObject* Sender) { Clicks.push_back(Sender); });
  }

  // What the button's area looks like, painted afresh.
  QImage Look(QWidget* B) {
    return Panel->grab(B->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
  }

  // What the screen shows there now, without letting pending paints run.
  QImage OnScreen(QWidget* B) {
    const QPoint At = B->mapTo(Window.get(), QPoint(0, 0));
    QScreen* S = Window->windowHandle()->screen();
    return S->grabWindow(Window->winId(), At.x(), At.y(), B->width(), B->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }

  QWindow* Win() { return Window->windowHandle(); }
  QPoint InWindow(QWidget* B, QPoint P) { return B->mapTo(Window.get(), P); }
  void Press(QWidget* B, Qt::MouseButton Button, QPoint P) {
    QTest::mousePress(Win(), Button, {}, InWindow(B, P));
  }
  void Release(QWidget* B, Qt::MouseButton Button, QPoint P) {
    QTest::mouseRelease(Win(), Button, {}, InWindow(B, P));
  }
  void Move(QWidget* B, QPoint P) { QTest::mouseMove(Win(), InWindow(B, P)); }
  void Click(QWidget* B) {
    QTest::mouseClick(Win(), Qt::LeftButton, {},
                      InWindow(B, QPoint(B->width() / 2, B->height() / 2)));
  }

  // The look of a navigation button at rest with an empty caption.
  static TLook NavigationAtRest(int W, int H) {
    TLook L(W, H, PanelColor);
    L.Outline(0, 0, W - 2, H - 2, Shadow);
    L.Outline(1, 1, W - 1, H - 1, Highlight);
    return L;
  }

  std::unique_ptr<QWidget> Window;
  QWidget* Panel = nullptr;
  std::vector<QObject*> Clicks;
  std::optional<seen::TScheme> Scheme;
};

TEST_F(FlatButtonTest, DefaultsBeforeTheOwnerSetsThem) {
  TFlatButton B(Panel);
  EXPECT_EQ(B.size(), QSize(40, 40));
  EXPECT_TRUE(B.Transparent());
  EXPECT_EQ(B.FrameStyle(), fsExplorer);
  EXPECT_EQ(B.BorderWidth(), 1u);
  EXPECT_TRUE(B.ShowPressed());
  EXPECT_EQ(B.PressOffset(), 1);
  EXPECT_EQ(B.GroupIndex(), 0);
  EXPECT_FALSE(B.Down());
  EXPECT_FALSE(B.Flat());
  EXPECT_EQ(B.Tag, 0);
  EXPECT_EQ(B.focusPolicy(), Qt::NoFocus);
}

TEST_F(FlatButtonTest, FlatFollowsTransparentWhenTheStyleIsAssigned) {
  TFlatButton* Nav = Navigation(24, 10, 57, 40, QString());
  TFlatButton* Pal = Palette(100, 10, RGB(255, 0, 0));
  EXPECT_TRUE(Nav->Flat()) << "navigation: FrameStyle assigned while Transparent is on";
  EXPECT_FALSE(Pal->Flat()) << "palette: Transparent switched off before FrameStyle";
}

TEST_F(FlatButtonTest, NavigationAtRestAndUnderThePointer) {
  Show();
  TFlatButton* B = Navigation(24, 10, 57, 40, QString());
  const QImage Rest = Look(B);
  EXPECT_TRUE(SameLook(Rest, NavigationAtRest(57, 40).Image));
  EXPECT_EQ(Rest.pixelColor(56, 0), PanelColor);
  EXPECT_EQ(Rest.pixelColor(0, 39), PanelColor);

  // Hover: only (W-1,0), (0,H-1) turn highlight and (W-2,1), (1,H-2) shadow.
  Move(B, QPoint(20, 20));
  ASSERT_TRUE(B->MouseOver());
  TLook Want = NavigationAtRest(57, 40);
  Want.Set(56, 0, Highlight);
  Want.Set(0, 39, Highlight);
  Want.Set(55, 1, Shadow);
  Want.Set(1, 38, Shadow);
  const QImage Hover = OnScreen(B);  // repainted at once on entering
  EXPECT_TRUE(SameLook(Hover, Want.Image));
  EXPECT_EQ(CountDifferences(Rest, Hover), 4);

  Move(Panel, QPoint(300, 150));
  EXPECT_FALSE(B->MouseOver());
  EXPECT_TRUE(SameLook(OnScreen(B), Rest));
}

TEST_F(FlatButtonTest, NavigationPressedLookAndCaptionShift) {
  Show();
  TFlatButton* B = Navigation(24, 10, 172, 40, QStringLiteral("12/34"));
  const QRect Inside(2, 2, 168, 36);
  const QImage Rest = Look(B);
  const QRect RestInk = InkBox(Rest, Inside, PanelColor);
  ASSERT_FALSE(RestInk.isEmpty());

  Press(B, Qt::LeftButton, QPoint(5, 5));
  const QImage Pressed = OnScreen(B);
  TLook Want = NavigationAtRest(172, 40);
  Want.Ring(0, Black, Highlight);
  Want.Ring(1, Shadow, Face);
  // The frame: compare everything outside the caption's area.
  QImage Frame = Pressed;
  QPainter(&Frame).fillRect(Inside, PanelColor);
  EXPECT_TRUE(SameLook(Frame, Want.Image));
  const QRect PressedInk = InkBox(Pressed, Inside, PanelColor);
  EXPECT_EQ(PressedInk, RestInk.translated(1, 1))
      << "got " << Describe(PressedInk).toStdString() << " want "
      << Describe(RestInk.translated(1, 1)).toStdString();

  // Still pressed with the pointer outside.
  Move(B, QPoint(-30, 60));
  EXPECT_TRUE(SameLook(OnScreen(B), Pressed));
  Release(B, Qt::LeftButton, QPoint(-30, 60));
  EXPECT_TRUE(Clicks.empty()) << "released outside";
  EXPECT_TRUE(SameLook(Look(B), Rest));
}

TEST_F(FlatButtonTest, HoverNeverChangesTheCaption) {
  Show();
  TFlatButton* B = Navigation(24, 10, 172, 40, QStringLiteral("7/9"));
  const QRect Inside(2, 2, 168, 36);
  const QImage Rest = Look(B);
  Move(B, QPoint(80, 20));
  const QImage Hover = OnScreen(B);
  EXPECT_EQ(Rest.copy(Inside), Hover.copy(Inside));
}

TEST_F(FlatButtonTest, EmptyCaptionDrawsNoText) {
  Show();
  TFlatButton* B = Navigation(24, 10, 172, 40, QString());
  EXPECT_TRUE(InkBox(Look(B), QRect(2, 2, 168, 36), PanelColor).isEmpty());
}

TEST_F(FlatButtonTest, CaptionLargerThanTheButtonIsCentredAndClipped) {
  Show();
  TFlatButton* B = Navigation(24, 10, 30, 20, QStringLiteral("WWWWWWWW"));
  const QImage L = Look(B);
  // The glyphs run off both sides of the frame; nothing is drawn beside
  // the button.
  const QRect Ink = InkBox(L, QRect(2, 2, 26, 16), PanelColor);
  EXPECT_EQ(Ink.left(), 2) << Describe(Ink).toStdString();
  EXPECT_EQ(Ink.right(), 27) << Describe(Ink).toStdString();
  const QImage Beside = Panel->grab(QRect(B->x() + B->width(), B->y(), 20, 20)).toImage();
  EXPECT_TRUE(InkBox(Beside, Beside.rect(), PanelColor).isEmpty());
}

TEST_F(FlatButtonTest, PaletteLooksUpAndDown) {
  Show();
  const TColor Red = RGB(200, 30, 40);
  const QColor RedQ(200, 30, 40);
  TFlatButton* B = Palette(24, 16, Red);
  Settle();

  TLook Up(50, 50, RedQ);
  Up.Ring(0, Shadow, Highlight);
  Up.Ring(1, Shadow, Highlight);
  Up.Ring(2, Highlight, Shadow);
  Up.Ring(3, Highlight, Shadow);
  EXPECT_TRUE(SameLook(Look(B), Up.Image));

  // Hover changes nothing on a palette button.
  Move(B, QPoint(25, 25));
  EXPECT_TRUE(SameLook(OnScreen(B), Up.Image));

  // Down: the shadow outline along the top row and the left column, two
  // highlight outlines, the colour inside.
  B->SetDown(true);
  ASSERT_TRUE(B->Down());
  TLook Down(50, 50, RedQ);
  Down.Outline(0, 0, 49, 49, Shadow);
  Down.Outline(1, 1, 49, 49, Highlight);
  Down.Outline(2, 2, 48, 48, Highlight);
  EXPECT_TRUE(SameLook(Look(B), Down.Image));

  // Pressed (not down) looks the same.
  TFlatButton* C = Palette(90, 16, Red);
  Press(C, Qt::LeftButton, QPoint(25, 25));
  EXPECT_TRUE(SameLook(OnScreen(C), Down.Image));
  Release(C, Qt::LeftButton, QPoint(25, 25));
}

TEST_F(FlatButtonTest, GroupClickRaisesThePartnerBeforeOnClick) {
  Show();
  TFlatButton* A = Palette(24, 16, RGB(255, 0, 0));
  TFlatButton* B = Palette(90, 16, RGB(0, 0, 255));
  const QImage AUp = Look(A);
  Click(A);
  ASSERT_TRUE(A->Down());
  const QImage ADown = Look(A);
  ASSERT_FALSE(SameLook(ADown, AUp));

  bool PartnerWasUp = false;
  QImage PartnerOnScreen;
  B->OnClick = [&](QObject* Sender) {
    Clicks.push_back(Sender);
    PartnerWasUp = !A->Down();
    PartnerOnScreen = OnScreen(A);
  };
  Click(B);
  EXPECT_TRUE(PartnerWasUp);
  EXPECT_TRUE(SameLook(PartnerOnScreen, AUp)) << "the raised partner repaints at once";
  EXPECT_TRUE(B->Down());
  EXPECT_FALSE(A->Down());
  ASSERT_EQ(Clicks.size(), 2u);
  EXPECT_EQ(Clicks[0], A);
  EXPECT_EQ(Clicks[1], B);
}

TEST_F(FlatButtonTest, ClickOnTheDownButtonKeepsItDownAndCallsOnClickAgain) {
  Show();
  TFlatButton* A = Palette(24, 16, RGB(255, 0, 0));
  Palette(90, 16, RGB(0, 0, 255));
  Click(A);
  Click(A);
  EXPECT_TRUE(A->Down());
  EXPECT_EQ(Clicks.size(), 2u);
}

TEST_F(FlatButtonTest, AssigningDownFollowsTheRules) {
  Show();
  TFlatButton* A = Palette(24, 16, RGB(255, 0, 0));
  TFlatButton* B = Palette(90, 16, RGB(0, 0, 255));
  TFlatButton* Nav = Navigation(24, 100, 57, 40, QString());
  const QImage NavRest = Look(Nav);

  struct Case {
    const char* What;
    TFlatButton* Button;
    bool Value;
    bool WantA, WantB, WantNav;
  };
  const Case Cases[] = {
      {"palette A on", A, true, true, false, false},
      {"palette B on raises A", B, true, false, true, false},
      {"down B off with AllowAllUp off stays down", B, false, false, true, false},
      {"navigation on stays up (no group)", Nav, true, false, true, false},
  };
  for (const Case& C : Cases) {
    C.Button->SetDown(C.Value);
    EXPECT_EQ(A->Down(), C.WantA) << C.What;
    EXPECT_EQ(B->Down(), C.WantB) << C.What;
    EXPECT_EQ(Nav->Down(), C.WantNav) << C.What;
  }
  EXPECT_TRUE(SameLook(Look(Nav), NavRest));
  EXPECT_TRUE(Clicks.empty()) << "assigning Down is not a click";
}

TEST_F(FlatButtonTest, AllowAllUpLetsTheGroupBeRaised) {
  Show();
  TFlatButton* A = Palette(24, 16, RGB(255, 0, 0));
  TFlatButton* B = Palette(90, 16, RGB(0, 0, 255));
  A->SetAllowAllUp(true);  // handed to the group
  EXPECT_TRUE(B->AllowAllUp());
  Click(B);
  EXPECT_TRUE(B->Down());
  Click(B);
  EXPECT_FALSE(B->Down()) << "a click toggles when AllowAllUp is on";
  A->SetDown(true);
  A->SetDown(false);
  EXPECT_FALSE(A->Down());
}

TEST_F(FlatButtonTest, GroupsAreSeparateAndOtherParentsAreNotTold) {
  Show();
  TFlatButton* A = Palette(24, 16, RGB(255, 0, 0));
  TFlatButton* B = Palette(90, 16, RGB(0, 0, 255));
  B->SetGroupIndex(2);
  QWidget Other(Panel);
  Other.setGeometry(200, 0, 120, 120);
  auto* Elsewhere = new TFlatButton(&Other);
  Elsewhere->SetGroupIndex(1);
  A->SetDown(true);
  B->SetDown(true);
  Elsewhere->SetDown(true);
  EXPECT_TRUE(A->Down());
  EXPECT_TRUE(B->Down());
  EXPECT_TRUE(Elsewhere->Down());
}

TEST_F(FlatButtonTest, PressAndReleaseOutsideGivesNoClick) {
  Show();
  TFlatButton* A = Palette(24, 16, RGB(255, 0, 0));
  TFlatButton* B = Palette(90, 16, RGB(0, 0, 255));
  Click(A);
  Clicks.clear();
  const QImage BUp = Look(B);

  Press(B, Qt::LeftButton, QPoint(25, 25));
  const QImage Held = OnScreen(B);
  EXPECT_FALSE(SameLook(Held, BUp));
  Move(B, QPoint(25, 90));  // the pointer leaves with the button held
  EXPECT_TRUE(SameLook(OnScreen(B), Held)) << "still the down look outside";
  Release(B, Qt::LeftButton, QPoint(25, 90));
  EXPECT_TRUE(Clicks.empty());
  EXPECT_TRUE(A->Down()) << "the selected button is unchanged";
  EXPECT_FALSE(B->Down());
  EXPECT_TRUE(SameLook(OnScreen(B), BUp));
}

TEST_F(FlatButtonTest, MovingBackInsideBeforeTheReleaseClicks) {
  Show();
  TFlatButton* B = Navigation(24, 10, 57, 40, QStringLiteral("x"));
  Press(B, Qt::LeftButton, QPoint(10, 10));
  Move(B, QPoint(100, 100));
  EXPECT_FALSE(B->States().testFlag(bsMouseInside));
  Move(B, QPoint(20, 20));
  EXPECT_TRUE(B->States().testFlag(bsMouseInside));
  Release(B, Qt::LeftButton, QPoint(20, 20));
  EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(FlatButtonTest, OtherMouseButtonsShowPressedButNeverClick) {
  Show();
  TFlatButton* B = Navigation(24, 10, 57, 40, QString());
  const QImage Rest = Look(B);
  TLook PressedLook = NavigationAtRest(57, 40);
  PressedLook.Ring(0, Black, Highlight);
  PressedLook.Ring(1, Shadow, Face);
  for (Qt::MouseButton Button : {Qt::RightButton, Qt::MiddleButton}) {
    Press(B, Button, QPoint(20, 20));
    EXPECT_TRUE(SameLook(OnScreen(B), PressedLook.Image)) << "button " << int(Button);
    Release(B, Button, QPoint(20, 20));
    EXPECT_TRUE(Clicks.empty()) << "button " << int(Button);
    Move(Panel, QPoint(300, 150));
    EXPECT_TRUE(SameLook(OnScreen(B), Rest)) << "button " << int(Button);
  }
}

TEST_F(FlatButtonTest, FastDoubleClickIsTwoClicks) {
  Show();
  TFlatButton* B = Navigation(265, 10, 57, 40, QStringLiteral("\u25B6"));
  QTest::mouseDClick(Win(), Qt::LeftButton, {}, InWindow(B, QPoint(20, 20)));
  EXPECT_EQ(Clicks.size(), 2u);
  EXPECT_FALSE(B->States().testFlag(bsMouseDown));
}

TEST_F(FlatButtonTest, OnClickSeesThePressedLook) {
  Show();
  TFlatButton* B = Navigation(24, 10, 172, 40, QStringLiteral("3/8"));
  const QImage Rest = Look(B);
  QImage During;
  B->OnClick = [&](QObject*) { During = OnScreen(B); };
  Click(B);
  EXPECT_EQ(During.pixelColor(0, 0), Black) << "pressed while the handler runs";
  EXPECT_EQ(OnScreen(B).pixelColor(0, 0), Shadow) << "up again after the handler returned";
  Move(Panel, QPoint(300, 150));
  EXPECT_TRUE(SameLook(OnScreen(B), Rest));
}

TEST_F(FlatButtonTest, CaptionChangeRepaintsAtOnceAndTheSameTextDoesNothing) {
  Show();
  TFlatButton* B = Navigation(24, 10, 172, 40, QStringLiteral("1/5"));
  Settle();
  const QImage Before = OnScreen(B);

  int Paints = 0;
  struct Counter : QObject {
    int* N;
    explicit Counter(int* AN) : N(AN) {}
    bool eventFilter(QObject*, QEvent* E) override {
      if (E->type() == QEvent::Paint) ++*N;
      return false;
    }
  } Filter(&Paints);
  B->installEventFilter(&Filter);

  B->SetCaption(QStringLiteral("1/5"));
  EXPECT_EQ(Paints, 0) << "the same text does nothing";

  B->SetCaption(QStringLiteral("2/5"));
  EXPECT_EQ(Paints, 1);
  const QImage After = OnScreen(B);  // no event processing in between
  EXPECT_FALSE(SameLook(After, Before));
  EXPECT_TRUE(SameLook(After, Look(B)));
  B->removeEventFilter(&Filter);
}

TEST_F(FlatButtonTest, SchemeChangeRepaintsAtOnce) {
  Show();
  TFlatButton* B = Navigation(24, 10, 57, 40, QString());
  Settle();
  ASSERT_EQ(OnScreen(B).pixelColor(0, 0), Shadow);
  const QColor NewShadow(0x10, 0x20, 0x30);
  QPalette Scheme = QApplication::palette();
  Scheme.setColor(QPalette::Dark, NewShadow);
  QApplication::setPalette(Scheme);
  // The notice reaches the widgets as a posted event; the button repaints as
  // soon as it arrives, not in a later paint cycle.
  QCoreApplication::processEvents();
  EXPECT_EQ(OnScreen(B).pixelColor(0, 0), NewShadow);
}

TEST_F(FlatButtonTest, LaterControlsPaintOnTop) {
  Show();
  TFlatButton* Under = Palette(24, 16, RGB(255, 0, 0));
  TFlatButton* Over = Palette(44, 16, RGB(0, 0, 255));
  // Pressing the lower one repaints the area, and the upper one stays on top.
  Press(Under, Qt::LeftButton, QPoint(10, 25));
  const QImage Screen = OnScreen(Under);
  EXPECT_EQ(Screen.pixelColor(30, 25), QColor(0, 0, 255));
  EXPECT_EQ(Screen.pixelColor(10, 25), QColor(255, 0, 0));
  Release(Under, Qt::LeftButton, QPoint(10, 25));
  (void)Over;
}

TEST_F(FlatButtonTest, HugeBorderWidthStillPaints) {
  Show();
  TFlatButton* B = Palette(24, 16, RGB(255, 0, 0));
  B->SetBorderWidth(0xFFFFFFFFu);
  const QImage L = Look(B);
  EXPECT_EQ(L.size(), QSize(50, 50));
}

}  // namespace
