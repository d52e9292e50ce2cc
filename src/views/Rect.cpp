#include "views/Rect.h"

#include "core/Rounding.h"

Rect Rect::FromFloat(float x, float y, float width, float height)
{
    Rect rect;
    rect.left_ = RoundToInt16(x);
    rect.top_ = RoundToInt16(y);
    rect.right_ = RoundToInt16(x + width);
    rect.bottom_ = RoundToInt16(y + height);
    rect.width_ = width;
    rect.height_ = height;
    return rect;
}
