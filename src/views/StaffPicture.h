#pragma once
// The staff's pictures, drawn for the size and pixel ratio they are shown at: the five
// lines with their clef, and the frames of the "listen" picture beside the prompt.

#include "views/MusicSigns.h"

#include <QPixmap>
#include <QRectF>

// The staff on a surface of size pixels, its lines spanning work (top line to bottom
// line), with the bass or the treble clef.
QPixmap DrawStaffPicture(QSize size, qreal devicePixelRatio, QRectF work, bool bassClef, const MusicSigns& signs);

// Frames of the "listen" picture: a note with sound waves growing out of it.
inline constexpr int kPromptFrames = 4;
inline constexpr QSize kPromptBaseSize(106, 121);
void DrawPromptFrame(QPainter& painter, QRectF box, int frame, const MusicSigns& signs);
