// The drawing importer as a parent uses it: drawings made here with Qt's
// painter (anti-aliased, saved as PNG, JPEG at quality 75, BMP and SVG,
// transparent, tiny, huge) run through the tintbox-import command; every
// picture it writes must pass the checker's rules with no problem at all and
// stay close to the drawing. Bad input gets a one-line error and no file.
#include "import/import.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <string>

#include "picture/bmpwriter.h"
#include "picture/picture.h"
#include "rules/catalogue.h"
#include "rules/picturecheck.h"

using namespace tintbox;

namespace {

struct TRun {
  int exitCode = -1;
  QString out, err;
};

TRun Import(const QStringList& AArgs) {
  QProcess p;
  p.start(QStringLiteral(TINTBOX_IMPORT), AArgs);
  EXPECT_TRUE(p.waitForFinished(60000)) << AArgs.join(' ').toStdString();
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromUtf8(p.readAllStandardOutput()),
          QString::fromUtf8(p.readAllStandardError())};
}

// A cartoon: flat fills in black anti-aliased outlines, on AImage's size.
void DrawCartoon(QImage& AImage, bool AWithBackground = true) {
  const double s = AImage.width() / 800.0;
  QPainter p(&AImage);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(s, s);
  if (AWithBackground) p.fillRect(QRectF(0, 0, 800, 600), QColor(255, 255, 255));
  p.setPen(QPen(Qt::black, 6));
  p.setBrush(QColor(230, 70, 60));
  p.drawEllipse(QPointF(250, 280), 170, 170);
  p.setBrush(QColor(250, 220, 60));
  p.drawEllipse(QPointF(250, 280), 60, 60);
  p.setBrush(QColor(70, 140, 230));
  p.drawRoundedRect(QRectF(470, 90, 260, 300), 30, 30);
  p.setBrush(QColor(90, 190, 80));
  QPainterPath hill;
  hill.moveTo(40, 560);
  hill.cubicTo(200, 400, 500, 620, 760, 470);
  hill.lineTo(760, 580);
  hill.lineTo(40, 580);
  hill.closeSubpath();
  p.drawPath(hill);
  p.setPen(QPen(Qt::black, 4));
  p.drawLine(QPointF(520, 140), QPointF(690, 340));  // a line across the blue
}

// Clip-art: gradients and grain, fills meeting without outlines.
void DrawShaded(QImage& AImage) {
  QPainter p(&AImage);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(AImage.rect(), Qt::white);
  QRadialGradient ball(QPointF(220, 200), 190, QPointF(170, 150));
  ball.setColorAt(0, QColor(255, 200, 190));
  ball.setColorAt(1, QColor(200, 40, 40));
  p.setPen(Qt::NoPen);
  p.setBrush(ball);
  p.drawEllipse(QPointF(240, 220), 170, 170);
  QLinearGradient sky(0, 40, 0, 400);
  sky.setColorAt(0, QColor(170, 210, 250));
  sky.setColorAt(1, QColor(60, 110, 200));
  p.setBrush(sky);
  p.drawRect(QRectF(440, 40, 170, 360));
  QImage grass(600, 80, QImage::Format_RGB32);
  QRandomGenerator random(7);
  for (int y = 0; y < grass.height(); ++y) {
    for (int x = 0; x < grass.width(); ++x) {
      const int d = int(random.bounded(24)) - 12;
      grass.setPixel(x, y, qRgb(90 + d, 180 + d, 70 + d / 2));
    }
  }
  p.drawImage(20, 390, grass);  // touches the sky without an outline
}

bool Save(const QImage& AImage, const QString& APath, int AQuality = -1) {
  return AImage.save(APath, nullptr, AQuality);
}

const char* Svg(const char* ASize) {
  static std::string text;
  text = std::string("<svg xmlns='http://www.w3.org/2000/svg' ") + ASize +
         " viewBox='0 0 400 300'>"
         "<rect x='20' y='20' width='200' height='160' fill='#3c8ce6' stroke='black' "
         "stroke-width='4'/>"
         "<circle cx='280' cy='180' r='90' fill='#f0c830' stroke='black' stroke-width='4'/>"
         "<path d='M40 280 Q200 200 380 280 Z' fill='#5ab450' stroke='black' stroke-width='3'/>"
         "</svg>";
  return text.c_str();
}

bool WriteText(const QString& APath, const QByteArray& AText) {
  QFile f(APath);
  return f.open(QIODevice::WriteOnly) && f.write(AText) == AText.size();
}

// The checker's problems with the picture in AFile, one line each.
std::string Problems(const QString& AFile) {
  TPicture picture;
  picture.LoadFromFile(AFile.toStdString());
  if (!picture.Bitmap()) return "no bitmap";
  const TBitmap& bmp = *picture.Bitmap();
  std::string s;
  const TPictureReport report = CheckPicture(bmp);
  for (const TPictureProblem& p : report.problems) s += p.text + "\n";
  if (bmp.Width() != ViewWidth || bmp.Height() != ViewHeight) s += "not 640x480\n";
  if (report.colors.Count() < 2) s += "fewer than two colours\n";
  if (bmp.Format().FileBitsPerPixel != 8) s += "not 8-bit\n";
  return s;
}

double ReportedDistance(const QString& AOut) {
  const auto m = QRegularExpression(QStringLiteral("distance (\\d+\\.\\d)")).match(AOut);
  return m.hasMatch() ? m.captured(1).toDouble() : 1e9;
}

// The distance measured here: the drawing flattened on white (it is already
// 640 x 480) against the picture.
double MeasuredDistance(const QString& ADrawing, const QString& APicture) {
  QImage drawing(ADrawing);
  QImage flat(drawing.size(), QImage::Format_RGB32);
  flat.fill(Qt::white);
  QPainter(&flat).drawImage(0, 0, drawing);
  TBitmap a;
  a.SetSize(flat.width(), flat.height());
  TColor* p = a.WritablePixels();
  for (int y = 0; y < flat.height(); ++y) {
    for (int x = 0; x < flat.width(); ++x) *p++ = FromRGB32(flat.pixel(x, y));
  }
  TPicture picture;
  picture.LoadFromFile(APicture.toStdString());
  return MeanRgbDistance(a, *picture.Bitmap());
}

TEST(ImportCommand, OwnDrawingsCheckCleanAndStayClose) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  auto path = [&](const char* AName) { return dir.filePath(QString::fromLatin1(AName)); };

  QImage cartoon(640, 480, QImage::Format_RGB32);
  DrawCartoon(cartoon);
  QImage shaded(640, 480, QImage::Format_RGB32);
  DrawShaded(shaded);
  QImage clear(640, 480, QImage::Format_ARGB32);
  clear.fill(Qt::transparent);
  DrawCartoon(clear, false);
  QImage tiny(40, 30, QImage::Format_RGB32);
  DrawCartoon(tiny);
  QImage huge(3200, 2400, QImage::Format_RGB32);
  DrawCartoon(huge);
  ASSERT_TRUE(Save(cartoon, path("cartoon.png")));
  ASSERT_TRUE(Save(cartoon, path("cartoon.jpg"), 75));
  ASSERT_TRUE(Save(cartoon, path("cartoon.bmp")));
  ASSERT_TRUE(Save(shaded, path("shaded.png")));
  ASSERT_TRUE(Save(shaded, path("shaded.jpg"), 75));
  ASSERT_TRUE(Save(clear, path("transparent.png")));
  ASSERT_TRUE(Save(tiny, path("tiny.png")));
  ASSERT_TRUE(Save(huge, path("huge.png")));
  ASSERT_TRUE(WriteText(path("drawing.svg"), Svg("width='400' height='300'")));
  // Declares a size of a billion pixels a side: drawn at the fitted size only.
  ASSERT_TRUE(WriteText(path("hugesize.svg"), Svg("width='1000000000' height='750000000'")));

  struct TCase {
    const char* file;
    double target;  // flat cartoon 40, shaded or textured 50
    bool measured;  // 640 x 480 already: measured here as well
  } cases[] = {
      {"cartoon.png", 40, true},     {"cartoon.jpg", 40, true},   {"cartoon.bmp", 40, true},
      {"transparent.png", 40, true}, {"tiny.png", 40, false},     {"huge.png", 40, false},
      {"drawing.svg", 40, false},    {"hugesize.svg", 40, false}, {"shaded.png", 50, true},
      {"shaded.jpg", 50, true},
  };
  // Every picture also goes into a folder the checker looks at as the game would.
  const QString folder = dir.filePath(QStringLiteral("img"));
  ASSERT_TRUE(QDir().mkpath(folder));
  int number = 0;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.file);
    const QString out = folder + "/" + QString::number(++number) + ".bmp";
    const TRun run = Import({path(c.file), out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QString());
    EXPECT_EQ(Problems(out), "");
    const double distance = ReportedDistance(run.out);
    if (c.measured) {
      EXPECT_NEAR(MeasuredDistance(path(c.file), out), distance, 0.05);
    }
    EXPECT_LE(distance, c.target);
    std::printf("  %-16s mean RGB distance %5.1f (target <= %.0f)  %s", c.file, distance, c.target,
                run.out.section(QStringLiteral(": "), 1).toLocal8Bit().constData());
  }
  QProcess check;
  check.start(QStringLiteral(TINTBOX_CHECK), {folder});
  ASSERT_TRUE(check.waitForFinished(60000));
  const QString report = QString::fromUtf8(check.readAllStandardOutput());
  EXPECT_EQ(check.exitCode(), 0) << report.toStdString();
  EXPECT_TRUE(report.contains(QStringLiteral(": %1 pictures").arg(number))) << report.toStdString();
  EXPECT_FALSE(report.contains(QStringLiteral("warning"))) << report.toStdString();
  EXPECT_FALSE(report.contains(QStringLiteral("error"))) << report.toStdString();
}

TEST(ImportCommand, BadInputGetsOneLineAndNoFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  auto path = [&](const char* AName) { return dir.filePath(QString::fromLatin1(AName)); };
  ASSERT_TRUE(WriteText(path("empty.png"), ""));
  ASSERT_TRUE(WriteText(path("garbage.png"), "this is not a picture at all"));
  ASSERT_TRUE(WriteText(path("broken.svg"), "<svg xmlns='http://www.w3.org/2000/svg'><rect"));
  QImage black(320, 240, QImage::Format_RGB32);
  black.fill(Qt::black);
  ASSERT_TRUE(Save(black, path("black.png")));
  QImage red(320, 240, QImage::Format_RGB32);
  red.fill(QColor(200, 30, 30));
  ASSERT_TRUE(Save(red, path("red.png")));
  QImage blank(320, 240, QImage::Format_ARGB32);
  blank.fill(Qt::transparent);
  ASSERT_TRUE(Save(blank, path("blank.png")));

  struct TCase {
    const char* file;
    const char* error;  // part of the message
  } cases[] = {
      {"missing.png", "no such file"},
      {"empty.png", "empty"},
      {"garbage.png", "not a drawing Qt can read"},
      {"broken.svg", "not an SVG drawing"},
      {"black.png", "all outline"},
      {"red.png", "only one colour"},
      {"blank.png", "only one colour"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.file);
    const QString out = path("out.bmp");
    const TRun run = Import({path(c.file), out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QString());
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("tintbox-import: ") + path(c.file) + ": "))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QString::fromLatin1(c.error))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
  }

  // A drawing of one colour that does not fill the frame is a sensible
  // picture: the colour and the white margin, with black between.
  QImage square(200, 200, QImage::Format_RGB32);
  square.fill(QColor(200, 30, 30));
  ASSERT_TRUE(Save(square, path("square.png")));
  const TRun run = Import({path("square.png"), path("square.bmp")});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(Problems(path("square.bmp")), "");

  // Usage errors.
  EXPECT_EQ(Import({path("square.png")}).exitCode, 2);
  EXPECT_EQ(
      Import({QStringLiteral("--colours"), QStringLiteral("11"), path("square.png"), path("x.bmp")})
          .exitCode,
      2);
}

TEST(ImportCommand, FolderGetsTheNextNumbersAndNothingIsOverwritten) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString folder = dir.filePath(QStringLiteral("img"));
  ASSERT_TRUE(QDir().mkpath(folder));
  // Two pictures already there, and a folder named like picture 5.
  const TColor px[4] = {clWhite, clBlack, RGB(200, 30, 30), clBlack};
  const std::vector<uint8_t> bmp = WriteBmp(px, 2, 2, TBmpFileFormat::Bgr24);
  const QByteArray bytes(reinterpret_cast<const char*>(bmp.data()), qsizetype(bmp.size()));
  ASSERT_TRUE(WriteText(folder + "/1.bmp", bytes));
  ASSERT_TRUE(WriteText(folder + "/2.bmp", bytes));
  ASSERT_TRUE(QDir().mkpath(folder + "/5.bmp"));

  QImage cartoon(800, 600, QImage::Format_RGB32);
  DrawCartoon(cartoon);
  const QString good = dir.filePath(QStringLiteral("cartoon.png"));
  ASSERT_TRUE(Save(cartoon, good));
  const QString bad = dir.filePath(QStringLiteral("missing.png"));

  const QString preview = dir.filePath(QStringLiteral("look.png"));
  const TRun run = Import({QStringLiteral("--colours"), QStringLiteral("3"),
                           QStringLiteral("--preview"), preview, good, bad, good, good, folder});
  EXPECT_EQ(run.exitCode, 1);
  // The failed drawing takes no number; the third good one meets the folder.
  EXPECT_EQ(run.out.count('\n'), 2) << run.out.toStdString();
  EXPECT_TRUE(run.err.contains(bad + ": no such file")) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(QStringLiteral("5.bmp is in the way"))) << run.err.toStdString();
  EXPECT_EQ(CountPictures(folder.toStdString()), 4);
  for (const char* name : {"/3.bmp", "/4.bmp"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Problems(folder + name), "");
    TPicture picture;
    picture.LoadFromFile((folder + name).toStdString());
    EXPECT_LE(CheckPicture(*picture.Bitmap()).colors.Count(), 3);
  }
  QFile first(folder + "/1.bmp");
  ASSERT_TRUE(first.open(QIODevice::ReadOnly));
  EXPECT_EQ(first.readAll(), bytes);
  // The preview: the drawing and the picture side by side, one per picture.
  const QImage look(dir.filePath(QStringLiteral("look-3.png")));
  EXPECT_EQ(look.size(), QSize(1280, 480));
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("look-4.png"))));
}

}  // namespace
