// The example window: opened modally over the main window, captioned
// "Пример", the picture stretched over its whole client area, again after
// every resize; maximise allowed, minimise not.
#include "ui/examplewindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "seen.h"
#include "ui/mainwindow.h"
#include "widgets/image.h"

using namespace tintbox;
using namespace tintbox::seen;

[[maybe_unused]] static void PrintTo(const QString& S, std::ostream* Out) {
  *Out << '"' << S.toStdString() << '"';
}

namespace {

// A 3 x 2 picture of six colours.
const TColor Six[2][3] = {{RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)},
                          {RGB(200, 200, 0), RGB(0, 200, 200), RGB(200, 0, 200)}};

std::unique_ptr<TBitmap> SixColours() {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(3, 2);
  TColor* p = bitmap->WritablePixels();
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) p[y * 3 + x] = Six[y][x];
  return bitmap;
}

// The 3 x 2 picture stretched over W x H, nearest pixel: each shown pixel
// must be a source pixel that its span covers.
::testing::AssertionResult StretchedOver(const QImage& AShown) {
  const int W = AShown.width(), H = AShown.height();
  int bad = 0;
  std::string first;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const QRgb got = AShown.pixel(x, y) & 0xFFFFFF;
      bool ok = false;
      for (int sy = 0; sy < 2; ++sy)
        for (int sx = 0; sx < 3; ++sx)
          ok = ok || (got == (Rgb(Six[sy][sx]) & 0xFFFFFF) && sx * W < (x + 1) * 3 &&
                      (sx + 1) * W > x * 3 && sy * H < (y + 1) * 2 && (sy + 1) * H > y * 2);
      if (!ok && ++bad <= 5)
        first +=
            " (" + std::to_string(x) + "," + std::to_string(y) + ") got " + Name(got).toStdString();
    }
  if (bad == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << W << "x" << H << ": " << bad << " pixels are not the stretched picture:" << first;
}

// Runs AInspect on the example window once it is up, then closes it. The
// window is modal, so this is set going before the call that shows it.
void WhenShown(const std::function<void(QDialog*)>& AInspect, bool& ASeen) {
  ASeen = false;
  auto* poll = new QTimer;
  poll->setInterval(10);
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  QObject::connect(poll, &QTimer::timeout, [poll, started, AInspect, &ASeen] {
    auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (window && window->isVisible()) {
      poll->stop();
      poll->deleteLater();
      ASeen = true;
      AInspect(window);
      window->close();
    } else if (started->elapsed() > 10000) {
      poll->stop();
      poll->deleteLater();
      // Nothing came up; close whatever did, so that the test ends.
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QDialog*>(w)) d->close();
    }
  });
  poll->start();
}

class ExampleWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = std::make_unique<TForm1>();
    Form->ex->Picture().SetGraphic(SixColours());
    ShowAndWait(Form.get());
  }
  std::unique_ptr<TForm1> Form;
};

TEST_F(ExampleWindowTest, ModalCaptionedAndStretchedOverTheClientArea) {
  bool seen = false;
  int clicks = 0;
  Form->ex->OnClick = [&] { ++clicks; };
  WhenShown(
      [&](QDialog* window) {
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Пример"));
        EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
        const Qt::WindowFlags flags = window->windowFlags();
        EXPECT_TRUE(flags & Qt::WindowMaximizeButtonHint);
        EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
        EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
        EXPECT_EQ(window->parentWidget(), nullptr);  // no owner

        // 640 x 480 with the frame, centred over the main window.
        EXPECT_EQ(window->frameGeometry().size(), QSize(640, 480))
            << Describe(window->frameGeometry());
        const QPoint off = window->frameGeometry().center() - Form->frameGeometry().center();
        EXPECT_LE(off.manhattanLength(), 2)
            << Describe(window->frameGeometry()) << " over " << Describe(Form->frameGeometry());

        auto* image = window->findChild<TImage*>();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->geometry(), window->rect());
        Form->repaint();
        window->repaint();
        EXPECT_TRUE(StretchedOver(OnScreen(window)));

        // The main window takes no input meanwhile.
        QTest::mouseClick(Form->windowHandle(), Qt::LeftButton, {},
                          Form->ex->mapTo(Form.get(), QPoint(20, 20)));
        QCoreApplication::processEvents();
        EXPECT_EQ(clicks, 0);
      },
      seen);
  ShowExampleWindow(Form->ex->Picture(), Form.get());
  EXPECT_TRUE(seen) << "no modal window came up";
  // Gone once closed.
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_FALSE(w->isVisible() && w->windowTitle() == QString::fromUtf8("Пример"));
  // The main window takes clicks again.
  QTest::mouseClick(Form->windowHandle(), Qt::LeftButton, {},
                    Form->ex->mapTo(Form.get(), QPoint(20, 20)));
  EXPECT_EQ(clicks, 1);
}

TEST_F(ExampleWindowTest, ResizingAndMaximisingReStretchThePicture) {
  bool seen = false;
  WhenShown(
      [&](QDialog* window) {
        auto* image = window->findChild<TImage*>();
        ASSERT_NE(image, nullptr);
        for (QSize size : {QSize(300, 100), QSize(97, 411), QSize(5, 7)}) {
          SCOPED_TRACE(Describe(QRect(QPoint(0, 0), size)));
          window->resize(size);
          ASSERT_TRUE(QTest::qWaitFor([&] { return image->size() == size; }, 5000))
              << "image " << Describe(image->geometry());
          window->repaint();
          EXPECT_TRUE(StretchedOver(OnScreen(window)));
        }
        window->showMaximized();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return window->width() > 640 && image->size() == window->size(); }, 5000))
            << "window " << Describe(window->geometry()) << " image "
            << Describe(image->geometry());
        window->repaint();
        EXPECT_TRUE(StretchedOver(OnScreen(window)));
      },
      seen);
  ShowExampleWindow(Form->ex->Picture(), Form.get());
  EXPECT_TRUE(seen) << "no modal window came up";
}

TEST_F(ExampleWindowTest, ShowsACopyThatNothingInItReaches) {
  bool seen = false;
  WhenShown(
      [&](QDialog* window) {
        auto* image = window->findChild<TImage*>();
        ASSERT_NE(image, nullptr);
        TCanvas& canvas = image->Canvas();
        canvas.Brush.SetColor(clBlack);
        canvas.FloodFill(0, 0, clWhite, fsBorder);
        EXPECT_EQ(image->Picture().Bitmap()->PixelAt(0, 0), clBlack);
      },
      seen);
  ShowExampleWindow(Form->ex->Picture(), Form.get());
  ASSERT_TRUE(seen);
  EXPECT_EQ(Form->ex->Picture().Bitmap()->PixelAt(0, 0), Six[0][0]);
}

}  // namespace
