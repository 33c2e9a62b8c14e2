// The pictures built into the program: the wait picture, the firework and
// the window icon. They are stored in the program's resources in their stored
// forms and read through the program's own readers.
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>

#include "picture/picture.h"

namespace tintbox {

QByteArray EmbeddedData(const QString& AName);  // e.g. "wait.dat"

// The wait picture of `w`: an alpha image of 512 x 512.
void LoadWaitPicture(TPicture& APicture);

// The sizes the program's icon is drawn in.
inline constexpr int ProgramIconSizes[] = {16, 32, 48, 64, 128, 256};

// The program's icon in one of those sizes, with its alpha; a null image when
// that size is missing from the build.
QImage ProgramIconImage(int ASize);

// The window icon, from 16 to 256 pixels.
QIcon ProgramIcon();

}  // namespace tintbox
