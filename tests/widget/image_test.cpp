// The image controls and the selection frame as a person sees them on the
// main window: the picture area unscaled at its top-left, the thumbnail
// stretched to its size, repaints after every change of a picture, the
// drawing surface of an empty picture, and the frame's outline.
#include "widgets/image.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "picture/bmpwriter.h"
#include "picture/errors.h"
#include "seen.h"
#include "ui/mainwindow.h"
#include "widgets/numbermarks.h"

using namespace tintbox;
using namespace tintbox::seen;

namespace {

// A colour of its own for every pixel up to 4096 x 4096: red and green carry
// the low bytes of x and y, blue their high nibbles with the top bit set, so
// that no pixel has the window colour (blue 91 has it clear).
TColor Unique(int x, int y) {
  return RGB(uint8_t(x), uint8_t(y), uint8_t(0x80 | ((x >> 8) & 0x0F) | ((y >> 8) & 0x07) << 4));
}
QPoint SourceOf(QRgb C) {
  const int b = qBlue(C);
  return QPoint(qRed(C) | (b & 0x0F) << 8, qGreen(C) | ((b >> 4) & 0x07) << 8);
}

std::unique_ptr<TBitmap> UniqueBitmap(int W, int H) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(W, H);
  TColor* pixels = bitmap->WritablePixels();
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) pixels[size_t(y) * W + x] = Unique(x, y);
  return bitmap;
}

std::unique_ptr<TBitmap> FlatBitmap(int W, int H, TColor C) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(W, H, C);
  return bitmap;
}

// A 24-bit bottom-up BMP file of APixels (W x H, row 0 at the top).
QByteArray Bmp(int W, int H, const std::function<TColor(int, int)>& APixel) {
  const std::vector<uint8_t> file = Bmp24(W, H, APixel);
  return QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
}

class ImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Form = std::make_unique<TForm1>();
    // The wait picture and the footer lie over the picture area; they are
    // put away, as once a game is set up.
    Form->w->hide();
    Form->f->hide();
  }

  std::string WriteBmp(const QString& AName, int W, int H,
                       const std::function<TColor(int, int)>& APixel) {
    const QString path = Dir.filePath(AName);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Bmp(W, H, APixel));
    return path.toStdString();
  }

  // Waits, with a deadline, until the screen shows AWant at AAt of AControl.
  bool ShowsSoon(QWidget* AControl, QPoint AAt, QRgb AWant) {
    QRgb got = 0;
    const bool ok = QTest::qWaitFor(
        [&] {
          got = OnScreen(AControl).pixel(AAt) & 0xFFFFFF;
          return got == (AWant & 0xFFFFFF);
        },
        5000);
    if (!ok)
      ADD_FAILURE() << "at (" << AAt.x() << "," << AAt.y() << ") got " << Name(got).toStdString()
                    << " want " << Name(AWant).toStdString();
    return ok;
  }

  QTemporaryDir Dir;
  std::unique_ptr<TForm1> Form;
};

TEST_F(ImageTest, PictureAreaShowsThePictureUnscaledAtItsTopLeft) {
  struct TCase {
    int W, H;
  };
  ShowAndWait(Form.get());
  for (const TCase c :
       {TCase{3, 2}, TCase{640, 480}, TCase{700, 500}, TCase{1, 600}, TCase{900, 1}}) {
    SCOPED_TRACE(std::to_string(c.W) + "x" + std::to_string(c.H));
    Form->im->Picture().LoadFromFile(
        WriteBmp(QStringLiteral("p.bmp"), c.W, c.H, [](int x, int y) { return Unique(x, y); }));
    Form->repaint();
    // Within im: the picture's pixel where it has one, the window colour
    // to its right and below; beyond 640 x 480 it is cut off. The same
    // after repainting a part of it only.
    for (const QRect part : {QRect(), QRect(37, 53, 101, 411)}) {
      if (!part.isNull()) Form->im->repaint(part);
      EXPECT_TRUE(Matches(OnScreen(Form->im), [&](int x, int y) {
        return x < c.W && y < c.H ? Rgb(Unique(x, y)) : Window;
      }));
    }
    // The 2-pixel margins round im keep the window colour.
    const QImage window = OnScreen(Form.get());
    for (QPoint p : {QPoint(642, 2), QPoint(643, 481), QPoint(2, 482), QPoint(641, 483),
                     QPoint(0, 0), QPoint(1, 1)})
      EXPECT_EQ(window.pixel(p) & 0xFFFFFF, Window & 0xFFFFFF)
          << "margin (" << p.x() << "," << p.y() << ") got " << Name(window.pixel(p)).toStdString();
  }
}

TEST_F(ImageTest, ThumbnailStretchesAnyPictureToItsWholeSize) {
  struct TCase {
    int W, H;
  };
  ShowAndWait(Form.get());
  for (const TCase c : {TCase{2, 2}, TCase{4, 1}, TCase{1, 3}, TCase{7, 5}, TCase{340, 255},
                        TCase{680, 510}, TCase{1000, 20}}) {
    SCOPED_TRACE(std::to_string(c.W) + "x" + std::to_string(c.H));
    TPicture source;
    source.SetGraphic(UniqueBitmap(c.W, c.H));
    Form->ex->AssignPicture(&source);
    Form->repaint();
    // A part repainted by itself shows what the whole showed.
    const QImage whole = OnScreen(Form->ex);
    Form->ex->repaint(QRect(29, 17, 250, 203));
    const QImage shown = OnScreen(Form->ex);
    EXPECT_EQ(shown, whole);
    ASSERT_EQ(shown.size(), QSize(340, 255));
    // Each shown pixel is exactly one source pixel, one that the shown
    // pixel's span covers: nearest pixel, nothing averaged, every part of the
    // thumbnail covered whatever the proportions.
    int bad = 0;
    std::string first;
    for (int y = 0; y < 255; ++y)
      for (int x = 0; x < 340; ++x) {
        const QPoint s = SourceOf(shown.pixel(x, y));
        const bool ok = (shown.pixel(x, y) & 0xFFFFFF) == (Rgb(Unique(s.x(), s.y())) & 0xFFFFFF) &&
                        s.x() * 340 < (x + 1) * c.W && (s.x() + 1) * 340 > x * c.W &&
                        s.y() * 255 < (y + 1) * c.H && (s.y() + 1) * 255 > y * c.H;
        if (!ok && ++bad <= 5)
          first += " (" + std::to_string(x) + "," + std::to_string(y) + ") got " +
                   Name(shown.pixel(x, y)).toStdString();
      }
    EXPECT_EQ(bad, 0) << first;
    EXPECT_EQ(SourceOf(shown.pixel(0, 0)), QPoint(0, 0));
  }
}

TEST_F(ImageTest, EveryChangeOfAPictureIsRepaintedByItself) {
  const TColor red = RGB(200, 0, 0), blue = RGB(0, 0, 200), green = RGB(0, 160, 0);
  Form->im->Picture().SetGraphic(FlatBitmap(4, 4, red));
  ShowAndWait(Form.get());
  ASSERT_TRUE(ShowsSoon(Form->im, {1, 1}, Rgb(red)));
  ASSERT_TRUE(ShowsSoon(Form->ex, {10, 10}, Window));

  // A load.
  Form->im->Picture().LoadFromFile(
      WriteBmp(QStringLiteral("blue.bmp"), 4, 4, [&](int, int) { return blue; }));
  EXPECT_TRUE(ShowsSoon(Form->im, {1, 1}, Rgb(blue)));

  // An assignment, and the window colour back again after assigning nothing.
  Form->ex->AssignPicture(&Form->im->Picture());
  EXPECT_TRUE(ShowsSoon(Form->ex, {10, 10}, Rgb(blue)));
  Form->ex->AssignPicture(nullptr);
  EXPECT_TRUE(ShowsSoon(Form->ex, {10, 10}, Window));

  // A fill on the drawing surface.
  TCanvas& canvas = Form->im->Canvas();
  canvas.Brush.SetColor(green);
  canvas.FloodFill(0, 0, clBlack, fsBorder);
  EXPECT_TRUE(ShowsSoon(Form->im, {1, 1}, Rgb(green)));

  // Emptying the picture shows the window colour in its place.
  Form->im->AssignPicture(nullptr);
  EXPECT_TRUE(ShowsSoon(Form->im, {1, 1}, Window));
}

// A fill is on the screen at once, painted once, and only the rectangle it
// changed is painted.
TEST_F(ImageTest, RepaintPictureShowsAFillAtOnceAndPaintsOnlyItsRectangle) {
  // Two white areas, left and right of a black column at x = 3.
  auto bitmap = FlatBitmap(8, 4, clWhite);
  for (int y = 0; y < 4; ++y) bitmap->WritablePixels()[size_t(y) * 8 + 3] = clBlack;
  Form->im->Picture().SetGraphic(std::move(bitmap));
  ShowAndWait(Form.get());
  QCoreApplication::processEvents();

  struct TPaints : QObject {
    std::vector<QRect> Rects;
    bool eventFilter(QObject*, QEvent* AEvent) override {
      if (AEvent->type() == QEvent::Paint)
        Rects.push_back(static_cast<QPaintEvent*>(AEvent)->rect());
      return false;
    }
  } paints;
  Form->im->installEventFilter(&paints);

  TCanvas& canvas = Form->im->Canvas();
  canvas.Brush.SetColor(RGB(0, 0, 255));
  const TRect changed = canvas.FloodFill(1, 1, clBlack, fsBorder);
  EXPECT_EQ(changed, (TRect{0, 0, 3, 4}));
  Form->im->RepaintPicture(changed);
  // No events processed: the screen already has it.
  EXPECT_EQ(OnScreen(Form->im).pixel(2, 2) & 0xFFFFFF, qRgb(0, 0, 255) & 0xFFFFFF);
  QCoreApplication::processEvents();
  Form->im->removeEventFilter(&paints);
  ASSERT_EQ(paints.Rects.size(), 1u);
  EXPECT_EQ(paints.Rects[0], QRect(0, 0, 3, 4));
}

// Digits over the picture: on the screen, never in its pixels; when one goes,
// the control repaints all it covered, whatever else is repainted.
TEST_F(ImageTest, NumbersAreDrawnOverThePictureAndRepaintedWhereTheyGo) {
  Form->im->Picture().SetGraphic(FlatBitmap(100, 60, clWhite));
  ShowAndWait(Form.get());
  TNumberMark mark;
  mark.X = 30.5, mark.Y = 20.5, mark.Height = 20, mark.Width = 15, mark.Halo = 2, mark.Digit = '8';
  Form->im->SetNumbers({mark});
  const QRect box = NumberMarkRect(mark);
  auto inkInBox = [&] {
    const QImage shot = OnScreen(Form->im);
    int ink = 0;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) {
        const bool white = (shot.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
        if (!white && x < 100 && y < 60 && !box.contains(x, y))
          ADD_FAILURE() << "drawn outside its box at (" << x << "," << y << ")";
        ink += !white && box.contains(x, y);
      }
    return ink;
  };
  EXPECT_TRUE(QTest::qWaitFor([&] { return inkInBox() > 30; }, 5000));
  EXPECT_EQ(Form->im->Picture().Bitmap()->PixelAt(30, 20), clWhite);

  // The paints that follow its going cover the whole of its box.
  struct TSpy : QObject {
    QRegion Painted;
    bool eventFilter(QObject*, QEvent* AEvent) override {
      if (AEvent->type() == QEvent::Paint) Painted += static_cast<QPaintEvent*>(AEvent)->region();
      return false;
    }
  } spy;
  Form->im->installEventFilter(&spy);
  Form->im->SetNumbers({});
  ASSERT_TRUE(QTest::qWaitFor([&] { return !spy.Painted.isEmpty(); }, 5000));
  EXPECT_TRUE(spy.Painted.contains(box))
      << "painted " << spy.Painted.boundingRect().x() << "," << spy.Painted.boundingRect().y();
  Form->im->removeEventFilter(&spy);
  EXPECT_TRUE(QTest::qWaitFor([&] { return inkInBox() == 0; }, 5000));
}

TEST_F(ImageTest, CanvasOfAnEmptyPictureIsAFreshWhiteBitmapOfTheControlsSize) {
  struct TRow {
    const char* Name;
    TImage* Control;
  };
  for (const TRow& row : {TRow{"im", Form->im}, TRow{"ex", Form->ex}}) {
    SCOPED_TRACE(row.Name);
    row.Control->AssignPicture(nullptr);
    ASSERT_EQ(row.Control->Picture().Width(), 0);
    TCanvas& canvas = row.Control->Canvas();
    EXPECT_EQ(row.Control->Picture().Width(), row.Control->width());
    EXPECT_EQ(row.Control->Picture().Height(), row.Control->height());
    int notWhite = 0;
    for (int y = 0; y < row.Control->height(); ++y)
      for (int x = 0; x < row.Control->width(); ++x) notWhite += canvas.Pixels(x, y) != clWhite;
    EXPECT_EQ(notWhite, 0);
    EXPECT_EQ(canvas.Brush.Color(), clWhite);
    // The same surface every time.
    EXPECT_EQ(&row.Control->Canvas(), &canvas);
    ShowAndWait(Form.get());
    EXPECT_TRUE(ShowsSoon(row.Control, {row.Control->width() - 1, row.Control->height() - 1},
                          qRgb(255, 255, 255)));
  }
}

TEST_F(ImageTest, CanvasOfAnAlphaImageIsRefused) {
  // w holds the wait picture, an alpha image.
  Form->LoadWaitPicture();
  ASSERT_EQ(Form->w->Picture().Kind(), TGraphicKind::AlphaImage);
  try {
    Form->w->Canvas();
    ADD_FAILURE() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Can only modify an image if it contains a bitmap");
  }
  // Nothing is converted.
  EXPECT_EQ(Form->w->Picture().Kind(), TGraphicKind::AlphaImage);
  EXPECT_EQ(Form->w->Picture().Width(), 512);
}

// The frame's outline covers the outermost APen rows and columns; inside,
// what lies beneath shows. The corner pixels of the outline are not checked.
::testing::AssertionResult FrameLook(const QImage& AShown, int APen,
                                     const std::function<QRgb(int, int)>& ABeneath) {
  const int W = AShown.width(), H = AShown.height();
  auto corner = [&](int x, int y) {
    return (x < APen || x >= W - APen) && (y < APen || y >= H - APen);
  };
  return Matches(AShown, [&](int x, int y) {
    if (corner(x, y)) return AShown.pixel(x, y);
    const bool pen = x < APen || y < APen || x >= W - APen || y >= H - APen;
    return pen ? qRgb(128, 128, 128) : ABeneath(x, y);
  });
}

TEST_F(ImageTest, SelectionFrameOnThePanel) {
  Form->sh->setGeometry(20, 12, 64, 64);
  Form->sh->show();
  ShowAndWait(Form.get());
  EXPECT_TRUE(FrameLook(OnScreen(Form->sh), 2, [](int, int) { return Window; }));
}

TEST_F(ImageTest, SelectionFrameHidesNothingInside) {
  // A parent with a coloured control under part of the frame, made first so
  // that the frame lies above it.
  QWidget parent;
  parent.resize(120, 100);
  parent.setAutoFillBackground(true);
  QPalette pp = parent.palette();
  pp.setColor(QPalette::Window, QColor(10, 20, 30));
  parent.setPalette(pp);
  auto* below = new QWidget(&parent);
  below->setGeometry(20, 20, 30, 80);
  below->setAutoFillBackground(true);
  QPalette bp = below->palette();
  bp.setColor(QPalette::Window, QColor(220, 0, 0));
  below->setPalette(bp);
  auto* frame = new TShape(&parent);
  frame->PenColor = clGray;
  frame->PenWidth = 2;
  frame->setGeometry(10, 10, 64, 64);
  ShowAndWait(&parent);
  EXPECT_TRUE(FrameLook(OnScreen(frame), 2, [](int x, int y) {
    // The frame sits at (10, 10); the red control covers 20..49 x 20..99.
    const QPoint p(x + 10, y + 10);
    return QRect(20, 20, 30, 80).contains(p) ? qRgb(220, 0, 0) : qRgb(10, 20, 30);
  }));
}

}  // namespace
