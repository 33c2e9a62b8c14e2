#include "ui/mainwindow.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "ui/embedded.h"
#include "ui/placement.h"
#include "widgets/control.h"

namespace tintbox {

namespace {

// The footer's text: the maker's address.
const char* const MakerAddress = "www.tintbox.example";

QFont MakeFont(const char* AFamily, int APixelSize, bool ABold) {
  QFont font(QString::fromLatin1(AFamily));
  font.setPixelSize(APixelSize);
  font.setBold(ABold);
  return font;
}

QFont WindowFont() {
  return MakeFont("Segoe UI", 12, false);
}
QFont FooterFont() {
  return MakeFont("Segoe UI", 13, true);
}
QFont NavigationFont() {
  return MakeFont("Calibri", 33, true);
}

}  // namespace

void SetupNavigationButton(TFlatButton* AButton, const QString& ACaption, const QRect& AGeometry) {
  AButton->setGeometry(AGeometry);
  AButton->setFont(NavigationFont());
  AButton->SetFontColor(clGray);
  AButton->SetFrameStyle(fsIndent);
  AButton->SetCaption(ACaption);
  AButton->setCursor(Qt::PointingHandCursor);
}

void TForm1::PrepareFonts() {
  QFontDatabase::families();
  // Measuring the buttons' texts finds the fallback for the arrows, which no
  // Calibri substitute has. (The footer is not shown before a picture is
  // finished.)
  QFontMetrics(NavigationFont()).horizontalAdvance(QString::fromUtf8("◀▶0123456789/"));
}

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
    : TGuarded(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("Tintbox"));
  setFixedSize(990, 484);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ColorToQColor(WindowColor));
  setPalette(pal);
  setAutoFillBackground(true);
  setFont(WindowFont());

  im = new TImage(this);
  im->setGeometry(2, 2, 640, 480);
  im->setCursor(Qt::CrossCursor);

  w = new TImage(this);
  w->setGeometry(176, 104, 256, 256);
  w->SetProportional(true);
  w->SetTransparent(true);
  w->installEventFilter(this);

  // The footer gets its text when it first shows (see eventFilter): a label
  // measures its text as it gets it, and the footer is hidden again before the
  // window first shows.
  f = new QLabel(this);
  f->setFont(FooterFont());
  QPalette fp = f->palette();
  fp.setColor(QPalette::WindowText, QColor(105, 210, 0));
  f->setPalette(fp);
  f->move(24, 461);
  // Given a size now, so that showing it does not measure it.
  f->resize(0, 0);
  f->installEventFilter(this);

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
  SetupNavigationButton(prevbtn, QString::fromUtf8("◀"), QRect(24, 168, 57, 40));
  maxbtn = new TFlatButton(Panel1);
  SetupNavigationButton(maxbtn, QString::fromUtf8("▶"), QRect(265, 168, 57, 40));
  index = new TFlatButton(Panel1);
  SetupNavigationButton(index, QStringLiteral("0/0"), QRect(87, 168, 172, 40));

  an = new TGIFAnimator(Panel1);
  an->setGeometry(51, 225, 249, 255);
  an->SetAnimate(true);
  an->LoadStoredImage(EmbeddedData(QStringLiteral("firework.dat")));
  an->hide();

  // Centred on the desktop, frame included.
  PlaceByFrame(this, [this](const QMargins& AFrame) {
    if (QScreen* screen = QGuiApplication::primaryScreen())
      CentreFrameOn(this, AFrame, screen->availableGeometry());
  });
}

void TForm1::LoadIcon() {
  if (FIconLoaded) return;
  FIconLoaded = true;
  setWindowIcon(ProgramIcon());
}

void TForm1::LoadWaitPicture() {
  if (FWaitPictureLoaded) return;
  FWaitPictureLoaded = true;
  tintbox::LoadWaitPicture(w->Picture());
}

void TForm1::paintEvent(QPaintEvent* AEvent) {
  QWidget::paintEvent(AEvent);
  if (FIconLoaded) return;
  QTimer::singleShot(0, this, [this] { LoadIcon(); });
  // The sound libraries take some milliseconds and megabytes to load: not
  // while the window is coming up. A sound asked for before then loads them.
  if (!FSoundsScheduled) {
    FSoundsScheduled = true;
    QTimer::singleShot(SoundsLoadDelay, this, [this] { sounds.Load(); });
  }
}

bool TForm1::eventFilter(QObject* AWatched, QEvent* AEvent) {
  if (AWatched == w && AEvent->type() == QEvent::Show) LoadWaitPicture();
  if (AWatched == f && AEvent->type() == QEvent::Show && f->text().isEmpty()) {
    f->setText(QString::fromLatin1(MakerAddress));
    f->adjustSize();
  }
  return QWidget::eventFilter(AWatched, AEvent);
}

void TForm1::Close() {
  if (isVisible()) {
    close();
  } else if (!FClosed) {
    FClosed = true;
    if (OnClose) OnClose();
  }
}

void TForm1::keyPressEvent(QKeyEvent* AEvent) {
  // A key held down acts once: its repeats would run through the pictures
  // faster than they can be looked at.
  if (OnKeyDown && !AEvent->isAutoRepeat() && OnKeyDown(AEvent->key(), AEvent->modifiers())) return;
  QWidget::keyPressEvent(AEvent);
}

void TForm1::closeEvent(QCloseEvent* AEvent) {
  if (!FClosed) {
    FClosed = true;
    if (OnClose) OnClose();
  }
  AEvent->accept();
}

}  // namespace tintbox
