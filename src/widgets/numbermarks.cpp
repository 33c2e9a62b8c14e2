#include "widgets/numbermarks.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <cmath>

#include "widgets/control.h"

namespace tintbox {

void DrawNumberMark(QPainter& APainter, const QWidget& AControl, const TNumberMark& AMark,
                    QPointF AOrigin, double AScale) {
  if (AMark.Height <= 0 || AMark.Width <= 0) return;
  QFont font = AControl.font();
  font.setBold(true);
  font.setPixelSize(100);
  QPainterPath glyph;
  glyph.addText(0, 0, font, QString(QChar(AMark.Digit)));
  const QRectF ink = glyph.boundingRect();
  if (ink.isEmpty()) return;
  // The digit as tall as the mark, or narrower when the box's width says so.
  const double height = AMark.Height * AScale, width = AMark.Width * AScale;
  const double s = std::min(height / ink.height(), width / ink.width());
  const QPointF centre = QPointF(AMark.X, AMark.Y) * AScale + AOrigin;
  QTransform t;
  t.translate(centre.x(), centre.y());
  t.scale(s, s);
  t.translate(-ink.center().x(), -ink.center().y());
  const QPainterPath digit = t.map(glyph);
  APainter.save();
  APainter.setRenderHint(QPainter::Antialiasing);
  APainter.strokePath(digit, QPen(ColorToQColor(AMark.Edge), 2 * AMark.Halo * AScale, Qt::SolidLine,
                                  Qt::RoundCap, Qt::RoundJoin));
  APainter.fillPath(digit, ColorToQColor(AMark.Ink));
  APainter.restore();
}

QRect NumberMarkRect(const TNumberMark& AMark, QPointF AOrigin, double AScale) {
  const TRect b = AMark.Bounds();
  const QPointF topLeft = QPointF(b.Left, b.Top) * AScale + AOrigin;
  const QPointF bottomRight = QPointF(b.Right, b.Bottom) * AScale + AOrigin;
  return QRect(QPoint(int(std::floor(topLeft.x())), int(std::floor(topLeft.y()))),
               QPoint(int(std::ceil(bottomRight.x())), int(std::ceil(bottomRight.y()))));
}

}  // namespace tintbox
