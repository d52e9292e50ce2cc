#pragma once
// The geometry of every hit area in the views: corners rounded to whole pixels (halves
// to even), hit tests on the rounded corners with the borders included.

#include "core/Collection.h"

#include <QtGlobal>

struct Pnt {
    float floatX = 0;
    float floatY = 0;
};

class Rect {
public:
    qint16 intTopLeftX = 0, intTopLeftY = 0;
    qint16 intTopRightX = 0, intTopRightY = 0;
    qint16 intBotRightX = 0, intBotRightY = 0;
    qint16 intBotLeftX = 0, intBotLeftY = 0;
    float floatX = 0, floatY = 0;          // left and top, from the rounded top-left corner
    float floatWidth = 0, floatHeight = 0;
    float floatCenterX = 0, floatCenterY = 0;

    void Create1(float X, float Y, float width, float height);
    void Create2(const Pnt& pointTopLeft, const Pnt& pointTopRight, const Pnt& pointBotRight,
                 const Pnt& pointBotLeft);
    // True when intTopLeftX <= X <= intTopRightX and intTopLeftY <= Y <= intBotLeftY.
    bool Contains(int X, int Y) const;

private:
    Collection<Pnt> corners_; // "TopLeft", "TopRight", "BotRight", "BotLeft"
};
