#pragma once
// The rectangle of a hit area: made from floating-point pixels, with its corners rounded
// to whole pixels (halves to even). Hit tests use the rounded corners, borders included,
// so neighbouring areas share their border pixels.

#include <QPointF>
#include <QRectF>

class Rect {
public:
    Rect() = default;
    // x, y: top-left corner; the size is kept as given.
    static Rect FromFloat(float x, float y, float width, float height);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Right() const { return right_; }
    int Bottom() const { return bottom_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    // The centre from the rounded top-left corner and the exact size.
    QPointF Center() const { return {left_ + width_ / 2, top_ + height_ / 2}; }
    QRectF ToRectF() const { return {static_cast<qreal>(left_), static_cast<qreal>(top_), width_, height_}; }

    bool Contains(int x, int y) const { return left_ <= x && x <= right_ && top_ <= y && y <= bottom_; }

    bool operator==(const Rect&) const = default;

private:
    int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
    float width_ = 0, height_ = 0;
};
