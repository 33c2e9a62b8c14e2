// tintbox-import: turns coloured drawings into pictures the game can play.
//
//   tintbox-import [--colours N] [--preview FILE.png] DRAWING OUT.bmp
//   tintbox-import [--colours N] [--preview FILE.png] DRAWING... FOLDER
//
// Reads PNG, JPEG, BMP, GIF (first frame) and SVG through Qt, fits the drawing
// into 640 x 480 on white and hands it to the core's import steps; writes the
// result as an 8-bit BMP (24-bit if it ever needed more than 256 colours).
// Into a folder, the pictures are added after those the game counts, as the
// next numbers, and no file is ever overwritten. One line a picture on
// standard output; errors on standard error, one line each. Exit 1 when a
// drawing failed, 2 on a usage error.

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "import/import.h"
#include "picture/bmpwriter.h"
#include "picture/errors.h"
#include "rules/catalogue.h"
#include "rules/limits.h"
#include "writefile.h"

using namespace tintbox;

namespace {

// Qt may allocate this much for one decoded drawing (the store cap).
constexpr int AllocationLimitMiB = 256;

void Usage() {
  std::fputs(
      "usage: tintbox-import [--colours N] [--preview FILE.png] DRAWING OUT.bmp\n"
      "       tintbox-import [--colours N] [--preview FILE.png] DRAWING... FOLDER\n"
      "Turns coloured drawings (PNG, JPEG, BMP, GIF, SVG) into pictures the game can\n"
      "play: fitted into 640x480, flat colours, pure black outlines. Into a folder,\n"
      "they are added as the next numbered pictures.\n"
      "  --colours N         at most N colours (2..10); default: as many as it needs, at most 10\n"
      "  --preview FILE.png  also writes the drawing and the picture side by side\n"
      "                      (with several drawings, FILE-<number>.png for each)\n",
      stderr);
}

bool IsSvg(const QString& APath) {
  const QString suffix = QFileInfo(APath).suffix().toLower();
  if (suffix == "svg" || suffix == "svgz") return true;
  const QByteArray format = QImageReader::imageFormat(APath);
  return format == "svg" || format == "svgz";
}

// A drawing fitted into 640 x 480 (premultiplied ARGB), and how many of its
// pixels a side each drawing pixel became when it was enlarged as blocks.
struct TFitted {
  QImage image;
  int32_t scale = 1;
};

TFitted ReadFitted(const std::string& AFile) {
  const QString path = QString::fromStdString(AFile);
  const QFileInfo info(path);
  if (!info.exists()) throw EFOpenError("no such file");
  if (info.isDir()) throw EFOpenError("is a folder, not a drawing");
  if (info.size() == 0) throw EReadError("the file is empty");

  QImage fitted;
  if (IsSvg(path)) {
    QSvgRenderer svg(path);
    if (!svg.isValid()) throw EInvalidGraphic("not an SVG drawing Qt can read");
    // Only the proportions are taken from the drawing's own size: it is drawn
    // straight at the fitted size, however large it says it is.
    QSizeF size = svg.viewBoxF().size();
    if (size.isEmpty()) size = svg.defaultSize();
    if (size.isEmpty()) size = QSizeF(ViewWidth, ViewHeight);
    // In thousandths, so that fractional sizes keep their proportions; held
    // to what a 64-bit number can round to.
    auto side = [](qreal v) { return std::llround(std::clamp(v * 1000, 1.0, 1e15)); };
    const TImportSize fit = FitInto(side(size.width()), side(size.height()));
    fitted = QImage(fit.Width, fit.Height, QImage::Format_ARGB32_Premultiplied);
    fitted.fill(Qt::transparent);
    QPainter painter(&fitted);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    return {fitted};
  }

  QImageReader reader(path);
  reader.setAutoTransform(true);
  QImage image;
  if (!reader.read(&image) || image.isNull()) {
    throw EInvalidGraphic("not a drawing Qt can read (" + reader.errorString().toStdString() + ")");
  }
  image.convertTo(QImage::Format_ARGB32_Premultiplied);
  const TImportSize fit = FitInto(image.width(), image.height());
  if (fit.Width != image.width() || fit.Height != image.height()) {
    // Averaging when reducing, on premultiplied pixels so transparent parts
    // lend no colour to their neighbours. A drawing enlarged twice or more
    // keeps its pixels as blocks: interpolating would smear every outline into
    // a wide band of in-between colours that the drawing never had.
    const bool blocks = fit.Width >= 2 * image.width();
    const int32_t scale = blocks ? fit.Width / image.width() : 1;
    image = image.scaled(fit.Width, fit.Height, Qt::IgnoreAspectRatio,
                         blocks ? Qt::FastTransformation : Qt::SmoothTransformation);
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return {image, scale};
  }
  return {image};
}

QImage ToQImage(const TBitmap& ABitmap) {
  QImage image(ABitmap.Width(), ABitmap.Height(), QImage::Format_RGB32);
  for (int32_t y = 0; y < ABitmap.Height(); ++y) {
    const TColor* src = ABitmap.ScanLine(y);
    auto* dst = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int32_t x = 0; x < ABitmap.Width(); ++x) dst[x] = ToRGB32(src[x]);
  }
  return image;
}

std::string Percent(double AShare) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f%%", AShare * 100);
  return text;
}

struct TOptions {
  TImportOptions import;
  std::string preview;
};

std::string PreviewName(const std::string& APreview, int ANumber) {
  if (ANumber <= 0) return APreview;
  const size_t dot = APreview.rfind('.');
  const size_t slash = APreview.rfind('/');
  const bool hasSuffix = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasSuffix ? APreview.substr(0, dot) : APreview;
  return stem + "-" + std::to_string(ANumber) + (hasSuffix ? APreview.substr(dot) : "");
}

// Imports one drawing into AOut; ANumber > 0 names a new picture of a folder.
// Returns false after printing the error.
bool ImportOne(const std::string& ADrawing, const std::string& AOut, int ANumber,
               const TOptions& AOptions) {
  try {
    const TFitted read = ReadFitted(ADrawing);
    const QImage& fitted = read.image;
    TImportOptions options = AOptions.import;
    options.PixelScale = read.scale;
    TBitmap drawing, picture;
    PlaceDrawing(reinterpret_cast<const uint32_t*>(fitted.constBits()), fitted.width(),
                 fitted.height(), size_t(fitted.bytesPerLine()) / 4, drawing);
    const TImportReport report = ImportDrawing(drawing, options, picture);
    const size_t colors =
        CountColors(picture.Pixels(), size_t(picture.Width()) * size_t(picture.Height()), 256);
    const std::vector<uint8_t> bytes =
        WriteBmp(picture.Pixels(), picture.Width(), picture.Height(),
                 colors <= 256 ? TBmpFileFormat::Pal8 : TBmpFileFormat::Bgr24);
    tools::WriteFile(AOut, bytes,
                     ANumber > 0 ? tools::TWriteMode::CreateNew : tools::TWriteMode::Replace);
    std::string previewNote;
    if (!AOptions.preview.empty()) {
      const std::string name = PreviewName(AOptions.preview, ANumber);
      QImage side(drawing.Width() * 2, drawing.Height(), QImage::Format_RGB32);
      QPainter painter(&side);
      painter.drawImage(0, 0, ToQImage(drawing));
      painter.drawImage(drawing.Width(), 0, ToQImage(picture));
      painter.end();
      if (!side.save(QString::fromStdString(name), "PNG")) {
        std::fprintf(stderr, "tintbox-import: %s: cannot write the preview %s\n", ADrawing.c_str(),
                     name.c_str());
      } else {
        previewNote = ", preview " + name;
      }
    }
    std::printf(
        "%s -> %s: %dx%d, %d colours, %lld areas, %s made black, %s recoloured, "
        "distance %.1f%s\n",
        ADrawing.c_str(), AOut.c_str(), report.Width, report.Height, report.Colors,
        static_cast<long long>(report.Areas), Percent(report.ToBlack).c_str(),
        Percent(report.Recolored).c_str(), report.Distance, previewNote.c_str());
    std::fflush(stdout);
    return true;
  } catch (const Exception& e) {
    std::fprintf(stderr, "tintbox-import: %s: %s\n", ADrawing.c_str(), e.Message().c_str());
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "tintbox-import: %s: %s\n", ADrawing.c_str(), SOutOfResources);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tintbox-import: %s: %s\n", ADrawing.c_str(), e.what());
  }
  return false;
}

bool IsFolder(const std::string& APath) {
  return QFileInfo(QString::fromStdString(APath)).isDir();
}

// Qt's own warnings (a malformed SVG element, a truncated file) would break
// the one-line-a-picture output; the error that matters is reported by us.
void QuietMessages(QtMsgType AType, const QMessageLogContext&, const QString& AText) {
  if (AType == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(AText));
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        Usage();
        std::exit(2);
      }
      return argv[++i];
    };
    if (arg == "--colours" || arg == "--colors") {
      const std::string v = value();
      char* end = nullptr;
      const long n = std::strtol(v.c_str(), &end, 10);
      if (v.empty() || *end != '\0' || n < 2 || n > MaxColors) {
        std::fprintf(stderr, "tintbox-import: --colours takes a number from 2 to %d\n", MaxColors);
        return 2;
      }
      options.import.MaxColors = int(n);
    } else if (arg == "--preview") {
      options.preview = value();
    } else if (arg == "--help" || arg == "-h") {
      Usage();
      return 0;
    } else if (arg.starts_with("--")) {
      std::fprintf(stderr, "tintbox-import: unknown option %s\n", arg.c_str());
      Usage();
      return 2;
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.size() < 2) {
    Usage();
    return 2;
  }

  // Image readers need a GUI application object, not a screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietMessages);
  QGuiApplication app(argc, argv);
  QImageReader::setAllocationLimit(AllocationLimitMiB);

  const std::string target = paths.back();
  paths.pop_back();
  if (!IsFolder(target)) {
    if (paths.size() > 1) {
      std::fprintf(stderr, "tintbox-import: %s is not a folder\n", target.c_str());
      return 2;
    }
    return ImportOne(paths[0], target, 0, options) ? 0 : 1;
  }

  // The folder as the game counts it; new pictures follow without a gap.
  int next = CountPictures(target) + 1;
  int status = 0;
  for (const std::string& drawing : paths) {
    if (next > MaxPictures) {
      std::fprintf(stderr,
                   "tintbox-import: %s: the folder holds %d pictures, the most the game counts\n",
                   drawing.c_str(), MaxPictures);
      status = 1;
      continue;
    }
    const std::string out = PictureFileName(target, next);
    if (PictureFileExists(out) || QFileInfo::exists(QString::fromStdString(out))) {
      // Only something the count skipped can stand there: a folder or a
      // broken link. Writing past it would leave pictures the game never reaches.
      std::fprintf(stderr, "tintbox-import: %s: %s is in the way; nothing more is added\n",
                   drawing.c_str(), out.c_str());
      return 1;
    }
    if (ImportOne(drawing, out, next, options)) {
      ++next;
    } else {
      status = 1;
    }
  }
  return status;
}
