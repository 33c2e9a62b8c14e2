// Where a top-level window goes is said of its outer frame, title bar and
// borders included. A window manager reports the frame it draws only once the
// window is on the screen, so a window is placed twice: before it shows, with
// the frame last seen on another of the program's windows (none at first, and
// none ever without a window manager), and once more when it is first exposed,
// if its own frame turned out otherwise.
#pragma once

#include <QMargins>
#include <QRect>
#include <QWidget>
#include <functional>

namespace tintbox {

// APlace(AFrame) moves and sizes AWindow given the frame's margins round its
// client area. It is called now, and again at the window's first expose when
// the frame the window manager reports differs from the one it was given.
// Call it before the window shows.
void PlaceByFrame(QWidget* AWindow, std::function<void(const QMargins& AFrame)> APlace);

// Gives AWindow the client area that puts its outer frame, AFrame round the
// client area, at AOuter.
void SetFrameGeometry(QWidget* AWindow, const QMargins& AFrame, const QRect& AOuter);

// Moves AWindow so that its outer frame, AFrame round its client area, is
// centred on AArea: left = area left + (area width - outer width) div 2, top
// likewise.
void CentreFrameOn(QWidget* AWindow, const QMargins& AFrame, const QRect& AArea);

}  // namespace tintbox
