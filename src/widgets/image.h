// TImage and TShape: the image controls (picture area, thumbnail, wait
// picture, the example window's image) and the selection frame. Both paint
// through the pixel core; only the finished pixels cross to Qt.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "picture/canvas.h"
#include "picture/color.h"
#include "picture/draw.h"
#include "picture/numbermark.h"
#include "picture/picture.h"
#include "widgets/control.h"

class QTimer;

namespace tintbox {

// Paints into ABuffer (AControl's size) what lies under AControl: its
// parent's own painting (background and frame, without its controls), then
// every visible control before AControl in the parent's list that overlaps it.
void PaintBackdrop(QWidget* AControl, QImage& ABuffer);

// A 32-bit QImage's pixels as the pixel core draws into them.
TSurface32 SurfaceOf(QImage& AImage);

class TImage : public TGuarded<QWidget> {
  Q_OBJECT

 public:
  explicit TImage(QWidget* AParent);

  TPicture& Picture() { return FPicture; }
  // Copies ASource's graphic into this control's picture (sharing its pixels);
  // nullptr or an empty source empties it.
  void AssignPicture(const TPicture* ASource) { FPicture.Assign(ASource); }

  // The drawing surface of the picture. An empty picture first gets a fresh
  // white bitmap of the control's size.
  //   EInvalidOperation "Can only modify an image if it contains a bitmap"
  TCanvas& Canvas();

  bool Stretch() const { return FStretch; }
  void SetStretch(bool AValue);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool AValue);
  bool Center() const { return FCenter; }
  void SetCenter(bool AValue);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool AValue);

  // Where the picture lands in the client area now.
  TRect DestRect() const;

  // Paints at once the part of the control that shows APart of the picture
  // (in picture pixels), as after a fill; nothing for an empty part.
  void RepaintPicture(const TRect& APart);

  // Flashes AOverlay over the picture FlashCount times (on, off, ...), each
  // phase FlashPhaseMs long, then the picture shows alone again. AOverlay is
  // a bitmap of the picture's size whose clNone pixels are see-through; it
  // is drawn on the screen only, never into the picture. A new flash starts
  // from its first phase; nullptr ends the flashing.
  void Flash(std::unique_ptr<TBitmap> AOverlay);
  // Changes what flashes without changing where the flashing has got to;
  // nullptr ends the flashing.
  void SetFlashOverlay(std::unique_ptr<TBitmap> AOverlay);
  void StopFlash() { SetFlashOverlay(nullptr); }
  bool Flashing() const { return FFlashOverlay != nullptr; }
  static constexpr int FlashCount = 3;
  static constexpr int FlashPhaseMs = 250;

  // Digits drawn over the picture (and over a flashing overlay) on the
  // screen, never into the picture; in the picture's pixels. Only what
  // changes is repainted, wherever the digits lie.
  void SetNumbers(std::vector<TNumberMark> AMarks);
  const std::vector<TNumberMark>& Numbers() const { return FNumbers; }

  int32_t Tag = 0;
  std::function<void()> OnClick;
  // A click with the right mouse button.
  std::function<void()> OnRightClick;

 protected:
  void paintEvent(QPaintEvent* AEvent) override;
  void mousePressEvent(QMouseEvent* AEvent) override;
  void mouseReleaseEvent(QMouseEvent* AEvent) override;

 private:
  void PictureChanged();
  // The part of the control that shows APart of the picture.
  QRect ControlRect(const TRect& APart) const;
  void UpdateOpacity();
  void FlashTick();
  // The overlay to draw now: in an "on" phase, when it fits the picture.
  const TBitmap* VisibleOverlay() const;

  TPicture FPicture;
  bool FStretch = false;
  bool FProportional = false;
  bool FCenter = false;
  bool FTransparent = false;
  bool FPainting = false;
  Qt::MouseButton FPressed = Qt::NoButton;  // the button pressed on the control
  // The flashing overlay and its phase: 0, 2, 4 show it; 1, 3, 5 do not.
  std::unique_ptr<TBitmap> FFlashOverlay;
  int FFlashPhase = 0;
  QTimer* FFlashTimer = nullptr;
  // Where the picture's pixel (0, 0) lands, and how large a pixel is there.
  QPointF PictureOrigin() const;
  double PictureScale() const;

  std::vector<TNumberMark> FNumbers;
  // The painted pixels, reused between paints: the whole control for a
  // 32-bit picture, a band of rows of the picture otherwise.
  QImage FBuffer;
  static constexpr int BandPixels = 16 * 1024;
};

// The selection frame: a rectangle outline (the stRectangle shape, the only
// one the program draws) in PenColor, PenWidth pixels wide, clear inside.
class TShape : public QWidget {
  Q_OBJECT

 public:
  explicit TShape(QWidget* AParent);

  TColor PenColor = clBlack;
  int32_t PenWidth = 1;
  int32_t Tag = 0;

 protected:
  void paintEvent(QPaintEvent* AEvent) override;
};

}  // namespace tintbox
