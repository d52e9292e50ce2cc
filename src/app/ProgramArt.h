#pragma once
// Pictures the shell draws itself, so they stay sharp at any size and screen scale:
// the program icon (a piece of fretboard with a marked note) and the tip window's bulb.

#include <QIcon>
#include <QPixmap>

// Square pictures of side `size` device-independent pixels, rendered for `dpr`.
QPixmap DrawProgramIcon(int size, qreal dpr = 1.0);
QPixmap DrawTipPicture(int size, qreal dpr = 1.0);

// The program icon at the usual window and launcher sizes.
QIcon ProgramIcon();
