#include "ui/mainwindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "ui/embedded.h"
#include "widgets/control.h"

namespace tintbox {

namespace {

QColor ToQColor(TColor c) {
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// The footer's text: the maker's address.
const char* const MakerAddress = "www.tintbox.example";

void SetupNavigationButton(TFlatButton* AButton, const QString& ACaption, int ALeft, int ATop,
                           int AWidth) {
  AButton->setGeometry(ALeft, ATop, AWidth, 40);
  QFont font(QStringLiteral("Calibri"));
  font.setPixelSize(33);
  font.setBold(true);
  AButton->setFont(font);
  AButton->SetFontColor(clGray);
  AButton->SetFrameStyle(fsIndent);
  AButton->SetCaption(ACaption);
  AButton->setCursor(Qt::PointingHandCursor);
}

}  // namespace

TPanel::TPanel(QWidget* AParent) : QWidget(AParent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  const int r = width() - 1, b = height() - 1;
  painter.setPen(GetSysColor(COLOR_BTNHIGHLIGHT));
  painter.drawLine(0, 0, r - 1, 0);
  painter.drawLine(0, 0, 0, b - 1);
  painter.setPen(GetSysColor(COLOR_BTNSHADOW));
  painter.drawLine(r, 0, r, b);
  painter.drawLine(0, b, r, b);
}

TForm1::TForm1()
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("Tintbox"));
  setWindowIcon(ProgramIcon());
  setFixedSize(990, 484);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ToQColor(WindowColor));
  setPalette(pal);
  setAutoFillBackground(true);
  QFont font(QStringLiteral("Segoe UI"));
  font.setPixelSize(12);
  setFont(font);

  im = new TImage(this);
  im->setGeometry(2, 2, 640, 480);
  im->setCursor(Qt::CrossCursor);

  w = new TImage(this);
  w->setGeometry(176, 104, 256, 256);
  w->SetProportional(true);
  w->SetTransparent(true);
  LoadWaitPicture(w->Picture());

  f = new QLabel(QString::fromLatin1(MakerAddress), this);
  QFont footer(QStringLiteral("Segoe UI"));
  footer.setPixelSize(13);
  footer.setBold(true);
  f->setFont(footer);
  QPalette fp = f->palette();
  fp.setColor(QPalette::WindowText, QColor(105, 210, 0));
  f->setPalette(fp);
  f->move(24, 461);

  Panel1 = new TPanel(this);
  Panel1->setGeometry(644, 0, 346, 484);

  ex = new TImage(Panel1);
  ex->setGeometry(3, 226, 340, 255);
  ex->SetStretch(true);
  ex->setCursor(Qt::PointingHandCursor);

  sh = new TShape(Panel1);
  sh->setGeometry(24, 16, 60, 65);
  sh->PenColor = clGray;
  sh->PenWidth = 2;
  sh->hide();

  prevbtn = new TFlatButton(Panel1);
  SetupNavigationButton(prevbtn, QString::fromUtf8("◀"), 24, 168, 57);
  maxbtn = new TFlatButton(Panel1);
  SetupNavigationButton(maxbtn, QString::fromUtf8("▶"), 265, 168, 57);
  index = new TFlatButton(Panel1);
  SetupNavigationButton(index, QStringLiteral("0/0"), 87, 168, 172);

  an = new TGIFAnimator(Panel1);
  an->setGeometry(51, 225, 249, 255);
  an->SetAnimate(true);
  an->LoadStoredImage(EmbeddedData(QStringLiteral("firework.dat")));
  an->hide();

  // Sized to its text last: the first text measured waits for the font list.
  f->adjustSize();

  // Centred on the desktop.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void TForm1::Close() {
  if (isVisible()) {
    close();
  } else if (!FClosed) {
    FClosed = true;
    if (OnClose) OnClose();
  }
}

void TForm1::closeEvent(QCloseEvent* AEvent) {
  if (!FClosed) {
    FClosed = true;
    if (OnClose) OnClose();
  }
  AEvent->accept();
}

}  // namespace tintbox
