// The main window: the picture area on the left, the panel on the right with
// the palette, the navigation buttons and the example thumbnail.
#pragma once

#include <QLabel>
#include <QWidget>
#include <functional>

#include "widgets/flatbutton.h"
#include "widgets/gifanimator.h"
#include "widgets/image.h"
#include "widgets/sounds.h"

namespace tintbox {

// The window colour: red 173, green 255, blue 91.
inline constexpr TColor WindowColor = 0x005BFFAD;

// A panel that paints its own colour and a raised bevel one pixel wide.
// A navigation button (the arrows and the counter) as the window sets it up.
void SetupNavigationButton(TFlatButton* AButton, const QString& ACaption, const QRect& AGeometry);

class TPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TPanel(QWidget* AParent);

 protected:
  void paintEvent(QPaintEvent* AEvent) override;
};

class TForm1 : public TGuarded<QWidget> {
  Q_OBJECT

 public:
  TForm1();

  // Reads the system's font list and loads the window's fonts. Safe on any
  // thread; the program runs it on another core while the window is built.
  static void PrepareFonts();

  // The controls, in creation (stacking) order.
  TImage* im;
  TImage* w;
  QLabel* f;
  TPanel* Panel1;
  TImage* ex;
  TShape* sh;
  TFlatButton* prevbtn;
  TFlatButton* maxbtn;
  TFlatButton* index;
  TGIFAnimator* an;

  // The program's sounds; they load SoundsLoadDelay ms after the first paint.
  TSounds sounds;
  static constexpr int SoundsLoadDelay = 500;

  // Runs when the window closes, however it is closed.
  std::function<void()> OnClose;
  // Runs for a key pressed while the window is active (a dialog or the
  // example window showing takes the keys itself); true when the key was used.
  std::function<bool(int AKey, Qt::KeyboardModifiers AShift)> OnKeyDown;

  // Closes the window; the program ends with it. Works before the window has
  // ever been shown too.
  void Close();
  bool Closed() const { return FClosed; }

  // The window icon is read right after the first paint, off the path to it.
  void LoadIcon();
  // The wait picture of `w` is read when `w` first shows (after the player's
  // first change of picture), so a player who never changes pictures never
  // holds it.
  void LoadWaitPicture();

 protected:
  void closeEvent(QCloseEvent* AEvent) override;
  void keyPressEvent(QKeyEvent* AEvent) override;
  void paintEvent(QPaintEvent* AEvent) override;
  bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

 private:
  bool FClosed = false;
  bool FIconLoaded = false;
  bool FSoundsScheduled = false;
  bool FWaitPictureLoaded = false;
};

}  // namespace tintbox
