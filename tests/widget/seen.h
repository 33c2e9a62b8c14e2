// What the widget tests see on the screen: helpers shared by the tests of the
// main window's controls (defined in mainwindow_test.cpp).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "picture/color.h"

namespace tintbox::seen {

// The main window's colour, red 173 green 255 blue 91.
inline const QRgb Window = qRgb(173, 255, 91);

inline QRgb Rgb(TColor C) {
  return qRgb(GetRValue(C), GetGValue(C), GetBValue(C));
}

// "(r,g,b)" and "(x,y WxH)", for failure messages.
QString Name(QRgb AColor);
std::string Describe(const QRect& R);

// Shows AWindow and waits until it is exposed.
void ShowAndWait(QWidget* AWindow);
// What the screen shows of AControl's rectangle now: the window's painted
// pixels, without letting pending paints run.
QImage OnScreen(QWidget* AControl);
// Every pixel of AGot is AWant(x, y); otherwise the count of those that
// differ and the first few.
::testing::AssertionResult Matches(const QImage& AGot, const std::function<QRgb(int, int)>& AWant);

// Desktop scheme colours of the test's choosing for the life of the object;
// then the application's palette as it was.
class TScheme {
 public:
  using TRoles = std::initializer_list<std::pair<QPalette::ColorRole, QColor>>;
  explicit TScheme(TRoles ARoles) : FSaved(QApplication::palette()) {
    QPalette Scheme = FSaved;
    for (const auto& [Role, Color] : ARoles) Scheme.setColor(Role, Color);
    QApplication::setPalette(Scheme);
  }
  ~TScheme() { QApplication::setPalette(FSaved); }
  TScheme(const TScheme&) = delete;
  TScheme& operator=(const TScheme&) = delete;

 private:
  QPalette FSaved;
};

}  // namespace tintbox::seen
