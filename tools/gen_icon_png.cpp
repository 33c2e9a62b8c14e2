// gen_icon_png OUTDIR NAME
//
// Writes the program's icon, as built into the program, as the hicolor theme's
// PNG files OUTDIR/<N>x<N>/apps/NAME.png for every size it is drawn in. The
// build runs it, so the installed icons never differ from the window's.
#include <QDir>
#include <QImage>
#include <cstdio>

#include "ui/embedded.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gen_icon_png OUTDIR NAME\n");
    return 2;
  }
  const QString outdir = QString::fromLocal8Bit(argv[1]);
  const QString name = QString::fromLocal8Bit(argv[2]);
  for (int size : tintbox::ProgramIconSizes) {
    const QImage image = tintbox::ProgramIconImage(size);
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(outdir).arg(size);
    const QString file = QStringLiteral("%1/%2.png").arg(dir, name);
    if (image.isNull() || !QDir().mkpath(dir) || !image.save(file, "PNG")) {
      std::fprintf(stderr, "gen_icon_png: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
