// The GIF animator as a person sees it: the firework of the main window in
// the order the window sets it up, ticks while hidden and shown, the frame
// delays, transparency over the panel, and tiny GIFs built here for sizes,
// placement and single frames.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/gifbuild.h"
#include "seen.h"
#include "ui/dialogs.h"
#include "ui/embedded.h"
#include "ui/mainwindow.h"
#include "widgets/gifanimator.h"

using namespace tintbox;
using namespace tintbox::seen;

namespace {

// ---------------------------------------------------------------------------
// Tiny GIFs of four colours, built by the shared helpers.

using giftest::TBytes;

struct TFrameSpec {
  uint16_t Left = 0, Top = 0, Width = 0, Height = 0;
  std::vector<uint8_t> Indices;  // row by row
  int Disposal = 1;
  int Transparent = -1;  // transparent index, or -1 for none
  uint16_t Delay = 10;   // hundredths of a second
};

const TColor Palette4[4] = {RGB(255, 255, 255), RGB(200, 0, 0), RGB(0, 0, 200), RGB(0, 150, 0)};

QByteArray Stored(const TBytes& AGif) {
  const TBytes stored = giftest::StoredForm(AGif);
  return QByteArray(reinterpret_cast<const char*>(stored.data()), qsizetype(stored.size()));
}

// The stored form of a GIF with Palette4 as its global table. ALoop >= 0 adds
// a NETSCAPE2.0 loop count.
QByteArray StoredGif(uint16_t AWidth, uint16_t AHeight, const std::vector<TFrameSpec>& AFrames,
                     int ALoop = -1) {
  giftest::TPalette table;
  for (TColor c : Palette4) table.push_back({GetRValue(c), GetGValue(c), GetBValue(c)});
  TBytes gif = giftest::Screen(AWidth, AHeight, table);
  if (ALoop >= 0) gif = giftest::Cat({gif, giftest::LoopExtension(uint16_t(ALoop))});
  for (const TFrameSpec& f : AFrames)
    gif = giftest::Cat({gif, giftest::Gce(f.Disposal, f.Transparent, f.Delay),
                        giftest::Image(f.Left, f.Top, f.Width, f.Height, f.Indices)});
  return Stored(giftest::Cat({gif, giftest::Trailer}));
}

TFrameSpec Flat(uint16_t W, uint16_t H, uint8_t AIndex, uint16_t ADelay = 10) {
  TFrameSpec f;
  f.Width = W, f.Height = H;
  f.Indices.assign(size_t(W) * H, AIndex);
  f.Delay = ADelay;
  return f;
}

// ---------------------------------------------------------------------------

// The main window's firework, as the window sets it up.
class FireworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = std::make_unique<TForm1>();
    an = Form->an;
  }

  // Shows the firework as a solved picture does: the thumbnail makes way.
  void ShowFirework() {
    ShowAndWait(Form.get());
    Form->ex->hide();
    an->show();
    QCoreApplication::processEvents();
  }

  // Frame k as it should look over the panel: its own pixels, and the
  // window colour where it is transparent. Every frame of the firework
  // covers the screen and the frames before it are cleared away.
  std::function<QRgb(int, int)> FrameOverPanel(int32_t k) {
    TGIFFrame& frame = an->Image().Frames(k);
    const TBitmap& bitmap = frame.Bitmap();
    const TColor key = frame.TransparentColor();
    return [&bitmap, key](int x, int y) {
      const TColor c = bitmap.PixelAt(x, y);
      return c == key ? Window : Rgb(c);
    };
  }

  std::unique_ptr<TForm1> Form;
  TGIFAnimator* an = nullptr;
};

TEST_F(FireworkTest, AfterTheStoredOrderTheTimerRunsOnFrameZero) {
  ASSERT_EQ(an->Image().Count(), 9);
  EXPECT_TRUE(an->Animate());
  EXPECT_TRUE(an->Timer().Running());
  EXPECT_EQ(an->Timer().Interval(), 100);
  EXPECT_EQ(an->FrameIndex(), 0);
  EXPECT_FALSE(an->isVisibleTo(Form.get()));
  EXPECT_EQ(an->size(), QSize(249, 255));
  EXPECT_TRUE(an->Loop());
  EXPECT_TRUE(an->Transparent());
}

TEST_F(FireworkTest, TicksWhileHiddenChangeNothing) {
  ShowAndWait(Form.get());
  for (int i = 0; i < 20; ++i) an->AdvanceFrame();
  EXPECT_EQ(an->FrameIndex(), 0);
  EXPECT_EQ(an->Timer().Interval(), 100);
  EXPECT_TRUE(an->Timer().Running());
}

TEST_F(FireworkTest, ShownEachTickShowsTheNextFrameAtOnceAndSetsItsDelay) {
  ShowFirework();
  // The timer runs from the window's creation, so on a slow machine it may
  // already have ticked while the window was being shown.
  const int32_t start = an->FrameIndex();
  EXPECT_TRUE(Matches(OnScreen(an), FrameOverPanel(start))) << "frame " << start;
  // The next frames, 0 again after the empty 9th image, twice round.
  for (int tick = 1; tick <= 18; ++tick) {
    SCOPED_TRACE("tick " + std::to_string(tick));
    an->AdvanceFrame();
    const int32_t want = (start + tick) % 9;
    ASSERT_EQ(an->FrameIndex(), want);
    const int delay = want == 8 ? 500 : 100;
    EXPECT_EQ(an->CurrentDelay(), uint32_t(delay));
    EXPECT_EQ(an->Timer().Interval(), delay);
    EXPECT_TRUE(an->Timer().Running());
    // Painted at once: no events have run since the tick.
    EXPECT_TRUE(Matches(OnScreen(an), FrameOverPanel(want)));
  }
}

TEST_F(FireworkTest, TransparentPixelsShowThePanelNotWhite) {
  ShowFirework();
  for (int k = 0; k < 9; ++k) {
    SCOPED_TRACE("frame " + std::to_string(k));
    const QImage shown = OnScreen(an);
    int white = 0, panel = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) {
        white += (shown.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
        panel += (shown.pixel(x, y) & 0xFFFFFF) == (Window & 0xFFFFFF);
      }
    EXPECT_EQ(white, 0);
    EXPECT_GT(panel, 0);
    an->AdvanceFrame();
  }
  // The empty last image shows nothing but the panel.
  while (an->FrameIndex() != 8) an->AdvanceFrame();
  EXPECT_TRUE(Matches(OnScreen(an), [](int, int) { return Window; }));
}

TEST_F(FireworkTest, HiddenOnFrameFiveResumesThere) {
  ShowFirework();
  // Only the steps taken here move the frames, however slowly the test runs.
  an->Timer().SetEnabled(false);
  while (an->FrameIndex() != 5) an->AdvanceFrame();
  an->hide();
  Form->ex->show();
  for (int i = 0; i < 30; ++i) an->AdvanceFrame();
  EXPECT_EQ(an->FrameIndex(), 5);
  EXPECT_EQ(an->Timer().Interval(), 100);

  Form->ex->hide();
  an->show();
  QCoreApplication::processEvents();
  Form->repaint();
  EXPECT_TRUE(Matches(OnScreen(an), FrameOverPanel(5))) << "shown again";
  an->AdvanceFrame();
  EXPECT_EQ(an->FrameIndex(), 6);
  EXPECT_TRUE(Matches(OnScreen(an), FrameOverPanel(6)));
}

TEST_F(FireworkTest, TheTimerPlaysItOnceShown) {
  ShowFirework();
  // Polled with a generous deadline: only that the frames move matters here.
  EXPECT_TRUE(QTest::qWaitFor([&] { return an->FrameIndex() >= 2; }, 10000))
      << "frame " << an->FrameIndex();
}

// ---------------------------------------------------------------------------

// An animator on a plain panel of the window colour, as on Panel1.
class AnimatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Panel.resize(200, 150);
    Panel.setAutoFillBackground(true);
    QPalette p = Panel.palette();
    p.setColor(QPalette::Window, QColor::fromRgb(Window));
    Panel.setPalette(p);
  }

  TGIFAnimator* Make(int ALeft = 10, int ATop = 10) {
    auto* a = new TGIFAnimator(&Panel);
    a->move(ALeft, ATop);
    return a;
  }

  QWidget Panel;
};

TEST_F(AnimatorTest, AutoSizeTakesTheScreenSize) {
  struct TRow {
    bool AutoSize;
    QSize Want;
  };
  for (const TRow row : {TRow{true, QSize(3, 2)}, TRow{false, QSize(105, 105)}}) {
    SCOPED_TRACE(row.AutoSize ? "AutoSize" : "fixed");
    TGIFAnimator* a = Make();
    EXPECT_EQ(a->size(), QSize(105, 105));
    EXPECT_TRUE(a->AutoSize());
    a->SetAutoSize(row.AutoSize);
    a->LoadStoredImage(StoredGif(3, 2, {Flat(3, 2, 1), Flat(3, 2, 2)}));
    EXPECT_EQ(a->size(), row.Want);
    delete a;
  }
}

TEST_F(AnimatorTest, OneFrameIsShownStillWithoutTheTimer) {
  TGIFAnimator* a = Make();
  a->SetAnimate(true);
  a->LoadStoredImage(StoredGif(3, 2, {Flat(3, 2, 1, 10)}));
  EXPECT_EQ(a->CurrentDelay(), 0u);
  EXPECT_FALSE(a->Timer().Running());
  ShowAndWait(&Panel);
  a->AdvanceFrame();
  EXPECT_EQ(a->FrameIndex(), 0);
  EXPECT_TRUE(Matches(OnScreen(a), [](int, int) { return Rgb(Palette4[1]); }));
}

TEST_F(AnimatorTest, DelaysAreKeptBetween50And10000Milliseconds) {
  struct TRow {
    uint16_t Hundredths;
    int Want;
  };
  for (const TRow row :
       {TRow{0, 50}, TRow{4, 50}, TRow{5, 50}, TRow{6, 60}, TRow{10, 100}, TRow{50, 500},
        TRow{1000, 10000}, TRow{1001, 10000}, TRow{6553, 10000}, TRow{65535, 10000}}) {
    SCOPED_TRACE("delay " + std::to_string(row.Hundredths));
    TGIFAnimator* a = Make();
    a->SetAnimate(true);
    a->LoadStoredImage(StoredGif(1, 1, {Flat(1, 1, 1, row.Hundredths), Flat(1, 1, 2, 10)}));
    EXPECT_EQ(a->CurrentDelay(), uint32_t(row.Want));
    EXPECT_EQ(a->Timer().Interval(), row.Want);
    EXPECT_TRUE(a->Timer().Running());
    delete a;
  }
}

TEST_F(AnimatorTest, ALoopCountOfOneStillLoopsForever) {
  TGIFAnimator* a = Make();
  a->SetAnimate(true);
  a->LoadStoredImage(StoredGif(2, 2, {Flat(2, 2, 1), Flat(2, 2, 2)}, /*ALoop=*/1));
  ShowAndWait(&Panel);
  for (int tick = 1; tick <= 6; ++tick) {
    a->AdvanceFrame();
    EXPECT_EQ(a->FrameIndex(), tick % 2) << "tick " << tick;
  }
  EXPECT_TRUE(a->Animate());
  EXPECT_TRUE(a->Timer().Running());
  EXPECT_TRUE(Matches(OnScreen(a), [](int, int) { return Rgb(Palette4[1]); }));
}

TEST_F(AnimatorTest, TransparentPixelsShowWhatLiesUnderTheControl) {
  // A control under the animator's left half, made before it.
  auto* under = new QWidget(&Panel);
  under->setGeometry(0, 0, 12, 50);
  under->setAutoFillBackground(true);
  QPalette p = under->palette();
  p.setColor(QPalette::Window, QColor(90, 0, 90));
  under->setPalette(p);
  // 4 x 1: white (the transparent index 0), red, white, blue.
  TFrameSpec f = Flat(4, 1, 0);
  f.Indices = {0, 1, 0, 2};
  f.Transparent = 0;
  TFrameSpec g = f;
  TGIFAnimator* a = Make(10, 10);
  a->LoadStoredImage(StoredGif(4, 1, {f, g}));
  ASSERT_EQ(a->size(), QSize(4, 1));
  ShowAndWait(&Panel);
  const QImage shown = OnScreen(a);
  // x 0 and 1 lie over the purple control (panel x 10, 11); 2 and 3 over the panel.
  const QRgb want[4] = {qRgb(90, 0, 90), Rgb(Palette4[1]), Window, Rgb(Palette4[2])};
  EXPECT_TRUE(Matches(shown, [&](int x, int) { return want[x]; }));
}

TEST_F(AnimatorTest, AFrameThatCannotBeDecodedIsReportedOnceAndTheAnimationGoesOn) {
  struct TErrors : TDialogProvider {
    void ShowException(const QString& AText) override { Texts << AText; }
    QStringList Texts;
  } errors;
  SetDialogProvider(&errors);
  // No global table; frame 0 has a local one, frame 1 none.
  using namespace giftest;
  TGIFAnimator* a = Make();
  a->LoadStoredImage(
      Stored(Cat({Screen(2, 1, {}), Gce(1, -1, 10), Image(0, 0, 2, 1, {1, 2}, 2, Four),
                  Gce(1, -1, 10), Image(0, 0, 2, 1, {2, 1}), Trailer})));
  const QRgb frame0[2] = {qRgb(0, 20, 0), qRgb(0, 0, 30)};  // Four[1], Four[2]
  const auto shows = [&](const char* AWhat, std::function<QRgb(int, int)> AWant) {
    QCoreApplication::processEvents();
    EXPECT_TRUE(Matches(OnScreen(a), AWant)) << AWhat;
  };
  ShowAndWait(&Panel);
  shows("frame 0", [&](int x, int) { return frame0[x]; });
  EXPECT_TRUE(errors.Texts.isEmpty());

  a->AdvanceFrame();
  ASSERT_EQ(a->FrameIndex(), 1);
  shows("frame 1: the background", [](int, int) { return Window; });
  EXPECT_EQ(errors.Texts, QStringList{"Wrong number of colors; must be a power of 2."});

  a->repaint();  // as when the error box closes over the control
  shows("frame 1 repainted", [](int, int) { return Window; });
  a->AdvanceFrame();
  ASSERT_EQ(a->FrameIndex(), 0);
  shows("frame 0 again", [&](int x, int) { return frame0[x]; });
  a->AdvanceFrame();
  shows("frame 1 again", [](int, int) { return Window; });
  EXPECT_EQ(errors.Texts.size(), 1) << "one report for the image";
  SetDialogProvider(nullptr);
}

TEST(AnimatorBackdrop, TransparentPixelsShowTheParentsOwnPainting) {
  // A parent that paints a pattern of its own: each pixel tells its place.
  struct TPatterned : QWidget {
    void paintEvent(QPaintEvent*) override {
      QPainter painter(this);
      for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x) painter.fillRect(x, y, 1, 1, QColor(x, y, 77));
    }
  } parent;
  parent.resize(120, 120);
  TFrameSpec f = Flat(6, 5, 0);
  f.Transparent = 0;
  f.Indices[7] = 2;  // one blue pixel at (1, 1)
  // Placed well inside the parent, and partly outside its left and top edges.
  for (QPoint at : {QPoint(37, 51), QPoint(-2, -3)}) {
    SCOPED_TRACE("at " + std::to_string(at.x()) + "," + std::to_string(at.y()));
    auto* a = new TGIFAnimator(&parent);
    a->move(at);
    a->LoadStoredImage(StoredGif(6, 5, {f, f}));
    ASSERT_EQ(a->size(), QSize(6, 5));
    ShowAndWait(&parent);
    a->repaint();
    // The part of the control inside the parent, as the parent's window shows it.
    const QRect seen = a->geometry() & parent.rect();
    const QImage shown = OnScreen(&parent).copy(seen);
    EXPECT_TRUE(Matches(shown, [&](int x, int y) {
      const QPoint p = seen.topLeft() + QPoint(x, y);  // in the parent
      if (p - at == QPoint(1, 1)) return Rgb(Palette4[2]);
      return qRgb(p.x(), p.y(), 77);
    }));
    delete a;
  }
}

TEST_F(AnimatorTest, ASmallTransparentFrameShowsThePanelAroundIt) {
  // A 2 x 1 frame at (1, 1) of a 4 x 3 screen, its index 0 transparent: the
  // rest of the screen and the transparent pixel both show the panel.
  TFrameSpec f;
  f.Left = 1, f.Top = 1, f.Width = 2, f.Height = 1;
  f.Indices = {0, 3};
  f.Transparent = 0;
  TGIFAnimator* a = Make();
  a->LoadStoredImage(StoredGif(4, 3, {f, f}));
  ASSERT_EQ(a->size(), QSize(4, 3));
  ShowAndWait(&Panel);
  EXPECT_TRUE(Matches(OnScreen(a),
                      [](int x, int y) { return x == 2 && y == 1 ? Rgb(Palette4[3]) : Window; }));
}

TEST_F(AnimatorTest, PlacementOfTheFrameInTheControl) {
  // One 2 x 2 frame at (1, 1) of a 4 x 4 screen, not transparent: the rest of
  // the screen takes the desktop's window colour.
  const QColor desktopWindow(1, 2, 3);
  const TScheme scheme({{QPalette::Base, desktopWindow}});
  TFrameSpec f;
  f.Left = 1, f.Top = 1, f.Width = 2, f.Height = 2;
  f.Indices = {1, 2, 3, 1};
  const QByteArray gif = StoredGif(4, 4, {f, f});
  auto screen = [&](int x, int y) -> QRgb {
    if (x < 1 || x > 2 || y < 1 || y > 2) return desktopWindow.rgb();
    return Rgb(Palette4[f.Indices[size_t(y - 1) * 2 + size_t(x - 1)]]);
  };
  struct TRow {
    const char* Name;
    bool Stretch, Center;
    std::function<QRgb(int, int)> Want;  // over an 8 x 8 control
  };
  const std::vector<TRow> rows = {
      {"top-left", false, false,
       [&](int x, int y) { return x < 4 && y < 4 ? screen(x, y) : Window; }},
      {"centred", false, true,
       [&](int x, int y) {
         return x >= 2 && x < 6 && y >= 2 && y < 6 ? screen(x - 2, y - 2) : Window;
       }},
      {"stretched", true, false, [&](int x, int y) { return screen(x / 2, y / 2); }},
  };
  ShowAndWait(&Panel);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TGIFAnimator* a = Make();
    a->SetAutoSize(false);
    a->resize(8, 8);
    a->SetStretch(row.Stretch);
    a->SetCenter(row.Center);
    a->LoadStoredImage(gif);
    a->show();
    a->repaint();
    EXPECT_TRUE(Matches(OnScreen(a), row.Want));
    delete a;
  }
}

}  // namespace
