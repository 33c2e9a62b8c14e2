// The main window as a person sees it right after it is made: caption, fixed
// client size, title-bar buttons, where every control sits and in which
// order, what shows at start, the window and panel colours, cursors, the
// footer and the wait picture. Also the screen helpers that the other widget
// tests of the window's controls share.
#include "ui/mainwindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFontMetrics>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "picture/alphaimage.h"
#include "seen.h"
#include "ui/embedded.h"

namespace tintbox::seen {

QString Name(QRgb AColor) {
  return QStringLiteral("(%1,%2,%3)").arg(qRed(AColor)).arg(qGreen(AColor)).arg(qBlue(AColor));
}

std::string Describe(const QRect& R) {
  return QStringLiteral("(%1,%2 %3x%4)")
      .arg(R.x())
      .arg(R.y())
      .arg(R.width())
      .arg(R.height())
      .toStdString();
}

void ShowAndWait(QWidget* AWindow) {
  AWindow->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(AWindow));
  QCoreApplication::processEvents();
}

QImage OnScreen(QWidget* AControl) {
  QWidget* window = AControl->window();
  const QPoint at = AControl->mapTo(window, QPoint(0, 0));
  return window->screen()
      ->grabWindow(window->winId(), at.x(), at.y(), AControl->width(), AControl->height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

::testing::AssertionResult Matches(const QImage& AGot, const std::function<QRgb(int, int)>& AWant) {
  int bad = 0;
  std::string first;
  for (int y = 0; y < AGot.height(); ++y)
    for (int x = 0; x < AGot.width(); ++x) {
      const QRgb got = AGot.pixel(x, y) & 0xFFFFFF, want = AWant(x, y) & 0xFFFFFF;
      if (got == want) continue;
      if (++bad <= 5)
        first += " (" + std::to_string(x) + "," + std::to_string(y) + ") got " +
                 Name(got).toStdString() + " want " + Name(want).toStdString() + ";";
    }
  if (bad == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << bad << " pixels differ:" << first;
}

}  // namespace tintbox::seen

using namespace tintbox;
using namespace tintbox::seen;

namespace {

// Distinct scheme colours, so that every bevel pixel tells which one it got.
const QColor Highlight(250, 240, 230);
const QColor Shadow(60, 70, 80);

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Scheme.emplace(TScheme::TRoles{{QPalette::Light, Highlight}, {QPalette::Dark, Shadow}});
    Form = std::make_unique<TForm1>();
  }
  void TearDown() override {
    Form.reset();
    Scheme.reset();
  }

  std::unique_ptr<TForm1> Form;

 private:
  std::optional<TScheme> Scheme;
};

std::vector<QWidget*> ChildControls(QWidget* AParent) {
  std::vector<QWidget*> out;
  for (QObject* child : AParent->children())
    if (auto* widget = qobject_cast<QWidget*>(child)) out.push_back(widget);
  return out;
}

TEST_F(MainWindowTest, CaptionFixedClientSizeAndTitleBarButtons) {
  EXPECT_EQ(Form->windowTitle(), QStringLiteral("Tintbox"));
  EXPECT_EQ(Form->font().family(), QStringLiteral("Segoe UI"));
  EXPECT_EQ(Form->font().pixelSize(), 12);
  EXPECT_FALSE(Form->font().bold());
  ShowAndWait(Form.get());
  EXPECT_EQ(Form->size(), QSize(990, 484));
  EXPECT_EQ(Form->minimumSize(), QSize(990, 484));
  EXPECT_EQ(Form->maximumSize(), QSize(990, 484));
  const Qt::WindowFlags flags = Form->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);

  // A resize the user or a program asks for leaves the client size as it is.
  Form->resize(700, 300);
  QCoreApplication::processEvents();
  EXPECT_EQ(Form->size(), QSize(990, 484));
}

TEST_F(MainWindowTest, StartsCentredOnTheDesktop) {
  ShowAndWait(Form.get());
  const QRect desk = Form->screen()->availableGeometry();
  const QRect frame = Form->frameGeometry();
  // The frame may add a few pixels on one side only.
  const int slackX = frame.width() - Form->width(), slackY = frame.height() - Form->height();
  EXPECT_LE(std::abs(frame.center().x() - desk.center().x()), slackX + 1)
      << "frame " << Describe(frame) << " desktop " << Describe(desk);
  EXPECT_LE(std::abs(frame.center().y() - desk.center().y()), slackY + 1)
      << "frame " << Describe(frame) << " desktop " << Describe(desk);
}

TEST_F(MainWindowTest, EveryControlsParentPlaceAndOrder) {
  struct TRow {
    const char* Name;
    QWidget* Control;
    QWidget* Parent;
    QRect Rect;
  };
  const std::vector<TRow> rows = {
      {"im", Form->im, Form.get(), {2, 2, 640, 480}},
      {"w", Form->w, Form.get(), {176, 104, 256, 256}},
      {"Panel1", Form->Panel1, Form.get(), {644, 0, 346, 484}},
      {"ex", Form->ex, Form->Panel1, {3, 226, 340, 255}},
      {"sh", Form->sh, Form->Panel1, {24, 16, 60, 65}},
      {"prevbtn", Form->prevbtn, Form->Panel1, {24, 168, 57, 40}},
      {"maxbtn", Form->maxbtn, Form->Panel1, {265, 168, 57, 40}},
      {"index", Form->index, Form->Panel1, {87, 168, 172, 40}},
      {"an", Form->an, Form->Panel1, {51, 225, 249, 255}},
  };
  ShowAndWait(Form.get());
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(row.Control->parentWidget(), row.Parent);
    EXPECT_EQ(row.Control->geometry(), row.Rect)
        << "got " << Describe(row.Control->geometry()) << " want " << Describe(row.Rect);
  }

  // The panel runs down the window's right edge, full height; im keeps a
  // margin of 2 from the window and from the panel.
  EXPECT_EQ(Form->Panel1->geometry().right(), Form->width() - 1);
  EXPECT_EQ(Form->im->geometry().right() + 1 + 2, Form->Panel1->x());

  // The footer sits at 24, 461, sized to its text.
  EXPECT_EQ(Form->f->parentWidget(), Form.get());
  EXPECT_EQ(Form->f->pos(), QPoint(24, 461));
  EXPECT_EQ(Form->f->size(), Form->f->sizeHint());
  const QFontMetrics metrics(Form->f->font());
  EXPECT_GE(Form->f->width(), metrics.horizontalAdvance(Form->f->text()));
  EXPECT_GE(Form->f->height(), metrics.height());
  EXPECT_FALSE(Form->f->text().isEmpty());

  // Creation order is stacking order: later controls are drawn above.
  EXPECT_EQ(ChildControls(Form.get()),
            (std::vector<QWidget*>{Form->im, Form->w, Form->f, Form->Panel1}));
  EXPECT_EQ(ChildControls(Form->Panel1),
            (std::vector<QWidget*>{Form->ex, Form->sh, Form->prevbtn, Form->maxbtn, Form->index,
                                   Form->an}));
}

TEST_F(MainWindowTest, InitialVisibilityCaptionsAndTags) {
  ShowAndWait(Form.get());
  struct TRow {
    const char* Name;
    QWidget* Control;
    bool Visible;
  };
  for (const TRow& row : std::vector<TRow>{{"im", Form->im, true},
                                           {"w", Form->w, true},
                                           {"f", Form->f, true},
                                           {"Panel1", Form->Panel1, true},
                                           {"ex", Form->ex, true},
                                           {"prevbtn", Form->prevbtn, true},
                                           {"maxbtn", Form->maxbtn, true},
                                           {"index", Form->index, true},
                                           {"sh", Form->sh, false},
                                           {"an", Form->an, false}}) {
    EXPECT_EQ(row.Control->isVisible(), row.Visible) << row.Name;
  }
  EXPECT_EQ(Form->index->Caption(), QStringLiteral("0/0"));
  EXPECT_EQ(Form->prevbtn->Caption(), QString::fromUtf8("◀"));
  EXPECT_EQ(Form->maxbtn->Caption(), QString::fromUtf8("▶"));
  // No designed control carries the palette marker.
  for (int32_t tag : {Form->im->Tag, Form->w->Tag, Form->ex->Tag, Form->sh->Tag, Form->prevbtn->Tag,
                      Form->maxbtn->Tag, Form->index->Tag, Form->an->Tag})
    EXPECT_EQ(tag, 0);
}

TEST_F(MainWindowTest, WindowColourAndThePanelsRaisedBevel) {
  ShowAndWait(Form.get());
  // Around the empty picture area and inside it, away from the wait picture.
  const QImage window = OnScreen(Form.get());
  for (QPoint p : {QPoint(0, 0), QPoint(1, 300), QPoint(643, 10), QPoint(20, 20), QPoint(600, 400),
                   QPoint(641, 483)})
    EXPECT_EQ(window.pixel(p) & 0xFFFFFF, Window & 0xFFFFFF)
        << "at (" << p.x() << "," << p.y() << ") got " << Name(window.pixel(p)).toStdString();

  const QImage panel = OnScreen(Form->Panel1);
  const int r = panel.width() - 1, b = panel.height() - 1;
  struct TRow {
    QPoint At;
    QRgb Want;
  };
  for (const TRow& row : std::vector<TRow>{
           {{0, 0}, Highlight.rgb()},    // top-left corner
           {{100, 0}, Highlight.rgb()},  // top edge
           {{0, 100}, Highlight.rgb()},  // left edge
           {{r, 100}, Shadow.rgb()},     // right edge
           {{100, b}, Shadow.rgb()},     // bottom edge
           {{r, b}, Shadow.rgb()},       // bottom-right corner
           {{1, 1}, Window},             // just inside the bevel
           {{r - 1, b - 1}, Window},     //
           {{100, 100}, Window},         // the panel's own colour
           {{1, b - 1}, Window},         // left of the thumbnail, inside the bevel
       }) {
    EXPECT_EQ(panel.pixel(row.At) & 0xFFFFFF, row.Want & 0xFFFFFF)
        << "at (" << row.At.x() << "," << row.At.y() << ") got "
        << Name(panel.pixel(row.At)).toStdString() << " want " << Name(row.Want).toStdString();
  }
  // One pixel wide: the second row and column carry no bevel colour.
  for (int x = 1; x < r; ++x) ASSERT_EQ(panel.pixel(x, 1) & 0xFFFFFF, Window & 0xFFFFFF) << x;
  for (int y = 1; y < b; ++y) ASSERT_EQ(panel.pixel(r - 1, y) & 0xFFFFFF, Window & 0xFFFFFF) << y;
}

TEST_F(MainWindowTest, Cursors) {
  EXPECT_EQ(Form->im->cursor().shape(), Qt::CrossCursor);
  for (QWidget* control : {static_cast<QWidget*>(Form->ex), static_cast<QWidget*>(Form->prevbtn),
                           static_cast<QWidget*>(Form->maxbtn), static_cast<QWidget*>(Form->index)})
    EXPECT_EQ(control->cursor().shape(), Qt::PointingHandCursor)
        << control->metaObject()->className();
}

TEST_F(MainWindowTest, FooterFontColourAndBackground) {
  const QFont font = Form->f->font();
  EXPECT_TRUE(font.bold());
  EXPECT_EQ(font.pixelSize(), 13);
  EXPECT_EQ(font.family(), QStringLiteral("Segoe UI"));
  ShowAndWait(Form.get());
  const QImage footer = OnScreen(Form->f);
  const QRgb green = qRgb(105, 210, 0);
  int solid = 0, ground = 0, other = 0;
  for (int y = 0; y < footer.height(); ++y)
    for (int x = 0; x < footer.width(); ++x) {
      const QRgb p = footer.pixel(x, y) & 0xFFFFFF;
      if (p == (green & 0xFFFFFF))
        ++solid;
      else if (p == (Window & 0xFFFFFF))
        ++ground;
      else
        ++other;  // the glyphs' smoothed rims
    }
  // Bold strokes have fully covered pixels in the footer's colour, on the
  // window's colour.
  EXPECT_GT(solid, 10) << "ground " << ground << " rims " << other;
  EXPECT_GT(ground, solid);
  EXPECT_EQ(footer.pixel(0, 0) & 0xFFFFFF, Window & 0xFFFFFF);
}

TEST_F(MainWindowTest, NavigationButtonsFont) {
  for (TFlatButton* button : {Form->prevbtn, Form->maxbtn, Form->index}) {
    const QFont font = button->font();
    EXPECT_TRUE(font.bold());
    EXPECT_EQ(font.pixelSize(), 33);
    EXPECT_EQ(font.family(), QStringLiteral("Calibri"));
    EXPECT_EQ(button->FontColor(), clGray);
    EXPECT_EQ(button->FrameStyle(), fsIndent);
  }
}

// One fully opaque source pixel over the window colour, each channel
// (source * a + window * (256 - a)) / 256.
QRgb Blend(TColor ASource, uint8_t AAlpha) {
  auto mix = [AAlpha](int s, int d) { return (s * AAlpha + d * (256 - AAlpha)) / 256; };
  return qRgb(mix(GetRValue(ASource), qRed(Window)), mix(GetGValue(ASource), qGreen(Window)),
              mix(GetBValue(ASource), qBlue(Window)));
}

TEST_F(MainWindowTest, WaitPictureIsADiscBlendedOverTheWindowColour) {
  TPicture wait;
  LoadWaitPicture(wait);
  ASSERT_EQ(wait.Kind(), TGraphicKind::AlphaImage);
  ASSERT_EQ(wait.Width(), 512);
  ASSERT_EQ(wait.Height(), 512);
  const TBitmap& source = *wait.Bitmap();
  const uint8_t* alpha = source.AlphaPlane();
  ASSERT_NE(alpha, nullptr);
  auto alphaAt = [&](int x, int y) { return alpha[size_t(y) * 512 + size_t(x)]; };

  ShowAndWait(Form.get());
  const QImage shown = OnScreen(Form->w);
  ASSERT_EQ(shown.size(), QSize(256, 256));

  // The window colour in the four corners.
  for (QPoint p : {QPoint(0, 0), QPoint(255, 0), QPoint(0, 255), QPoint(255, 255)})
    EXPECT_EQ(shown.pixel(p) & 0xFFFFFF, Window & 0xFFFFFF)
        << "corner (" << p.x() << "," << p.y() << ") got " << Name(shown.pixel(p)).toStdString();

  // 2:1: each shown pixel is one of the four source pixels under it, colour
  // and alpha from the same one, blended over the window colour.
  const QRgb white = qRgb(254, 255, 254);
  const QRgb teal = qRgb(82, 177, 176);
  int bad = 0, whites = 0, teals = 0, rims = 0;
  std::string first;
  QRect ink;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const QRgb got = shown.pixel(x, y) & 0xFFFFFF;
      if (got != (Window & 0xFFFFFF)) ink |= QRect(x, y, 1, 1);
      bool any = false, allOpaqueWhite = true, allOpaqueTeal = true, partial = false;
      for (int sy = 2 * y; sy <= 2 * y + 1; ++sy)
        for (int sx = 2 * x; sx <= 2 * x + 1; ++sx) {
          const TColor c = source.PixelAt(sx, sy);
          const uint8_t a = alphaAt(sx, sy);
          const bool gives = (Blend(c, a) & 0xFFFFFF) == got;
          any = any || gives;
          // A true mix of the picture and the window colour.
          partial = partial || (gives && a > 0 && a < 255 && got != (Window & 0xFFFFFF) &&
                                got != (Blend(c, 255) & 0xFFFFFF));
          allOpaqueWhite = allOpaqueWhite && a == 255 && c == clWhite;
          allOpaqueTeal = allOpaqueTeal && a == 255 && c == RGB(82, 177, 177);
        }
      if (!any && ++bad <= 5)
        first += " (" + std::to_string(x) + "," + std::to_string(y) + ") got " +
                 Name(got).toStdString() + ";";
      if (allOpaqueWhite) {
        ++whites;
        EXPECT_EQ(got, white & 0xFFFFFF)
            << "white frame at (" << x << "," << y << ") got " << Name(got).toStdString();
      }
      if (allOpaqueTeal) {
        ++teals;
        EXPECT_EQ(got, teal & 0xFFFFFF)
            << "disc at (" << x << "," << y << ") got " << Name(got).toStdString();
      }
      if (partial) ++rims;
    }
  EXPECT_EQ(bad, 0) << "pixels that none of their source pixels gives:" << first;
  EXPECT_GT(whites, 0) << "no place where the hourglass frame is white";
  EXPECT_GT(teals, 1000) << "no teal disc";
  EXPECT_GT(rims, 0) << "no soft edge";
  // The disc fills the control up to the picture's transparent margin.
  EXPECT_GE(ink.left(), 10) << Describe(ink);
  EXPECT_GE(ink.top(), 10) << Describe(ink);
  EXPECT_LE(ink.right(), 245) << Describe(ink);
  EXPECT_LE(ink.bottom(), 245) << Describe(ink);
  EXPECT_GE(ink.width(), 200) << Describe(ink);
  EXPECT_GE(ink.height(), 200) << Describe(ink);
}

TEST_F(MainWindowTest, WaitPictureIsDrawnAboveThePictureArea) {
  // w comes after im, so it is drawn on top of a picture there; the window
  // colour under its transparent corners is im's picture instead.
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(640, 480, RGB(200, 0, 0));
  Form->im->Picture().SetGraphic(std::move(bitmap));
  ShowAndWait(Form.get());
  const QImage shown = OnScreen(Form->w);
  EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, qRgb(200, 0, 0) & 0xFFFFFF)
      << Name(shown.pixel(0, 0)).toStdString();
  EXPECT_NE(shown.pixel(128, 128) & 0xFFFFFF, qRgb(200, 0, 0) & 0xFFFFFF);
}

}  // namespace

namespace tintbox {
namespace {

// The icon is not needed for the first look of the window: it is read right
// after the first paint. The wait picture waits until `w` shows.
TEST_F(MainWindowTest, IconIsReadOnceTheWindowHasPaintedAndTheWaitPictureWhenItShows) {
  EXPECT_TRUE(Form->windowIcon().isNull());
  Form->w->hide();  // as once picture 1 is set up
  ShowAndWait(Form.get());
  QDeadlineTimer deadline(5000);
  while (Form->windowIcon().isNull() && !deadline.hasExpired()) QTest::qWait(10);
  EXPECT_FALSE(Form->windowIcon().isNull());
  EXPECT_TRUE(Form->windowIcon().availableSizes().contains(QSize(256, 256)));
  QTest::qWait(50);
  EXPECT_TRUE(Form->w->Picture().Empty());
  Form->w->show();
  EXPECT_EQ(Form->w->Picture().Kind(), TGraphicKind::AlphaImage);
}

TEST(MainWindowWait, ShowingTheWaitPictureReadsItFirst) {
  TForm1 form;
  form.w->hide();
  form.w->show();  // a hidden window: no show event for w yet
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(form.w->Picture().Width(), 512);
}

}  // namespace
}  // namespace tintbox
