// Drawing the digits of colour by number over a control: a digit as an
// outline of the control's font, in bold, smoothed at the screen's own
// resolution, its edge first and its ink over it.
#pragma once

#include <QRect>
#include <vector>

#include "picture/numbermark.h"

class QPainter;
class QWidget;

namespace tintbox {

// Draws AMark with AControl's font family. AMark's pixels map to the
// painter's as P * AScale + AOrigin.
void DrawNumberMark(QPainter& APainter, const QWidget& AControl, const TNumberMark& AMark,
                    QPointF AOrigin = {}, double AScale = 1);

// The rectangle of the painter's pixels AMark may touch, mapped as above.
QRect NumberMarkRect(const TNumberMark& AMark, QPointF AOrigin = {}, double AScale = 1);

}  // namespace tintbox
