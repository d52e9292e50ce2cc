#include "views/Rect.h"

#include "core/Rounding.h"

void Rect::Create1(float X, float Y, float width, float height)
{
    floatX = X;
    floatY = Y;
    floatWidth = width;
    floatHeight = height;
    Create2({X, Y}, {X + width, Y}, {X + width, Y + height}, {X, Y + height});
}

void Rect::Create2(const Pnt& pointTopLeft, const Pnt& pointTopRight, const Pnt& pointBotRight,
                   const Pnt& pointBotLeft)
{
    corners_.Clear();
    corners_.Add(pointTopLeft, QStringLiteral("TopLeft"));
    corners_.Add(pointTopRight, QStringLiteral("TopRight"));
    corners_.Add(pointBotRight, QStringLiteral("BotRight"));
    corners_.Add(pointBotLeft, QStringLiteral("BotLeft"));

    intTopLeftX = RoundToInt16(pointTopLeft.floatX);
    intTopLeftY = RoundToInt16(pointTopLeft.floatY);
    intTopRightX = RoundToInt16(pointTopRight.floatX);
    intTopRightY = RoundToInt16(pointTopRight.floatY);
    intBotRightX = RoundToInt16(pointBotRight.floatX);
    intBotRightY = RoundToInt16(pointBotRight.floatY);
    intBotLeftX = RoundToInt16(pointBotLeft.floatX);
    intBotLeftY = RoundToInt16(pointBotLeft.floatY);

    floatX = intTopLeftX;
    floatY = intTopLeftY;
    if (floatWidth == 0)
        floatWidth = static_cast<float>(intTopRightX - intTopLeftX);
    if (floatHeight == 0)
        floatHeight = static_cast<float>(intBotLeftY - intTopLeftY);
    floatCenterX = floatWidth / 2 + floatX;
    floatCenterY = floatHeight / 2 + floatY;
}

bool Rect::Contains(int X, int Y) const
{
    return intTopLeftX <= X && X <= intTopRightX && intTopLeftY <= Y && Y <= intBotLeftY;
}
