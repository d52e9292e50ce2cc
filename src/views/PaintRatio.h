#pragma once
// The device pixel ratio a painter really paints at: the screen's while a widget paints
// itself, the target's while it is rendered into a picture of another ratio.

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

inline qreal PaintRatio(const QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    const QPaintDevice* target = engine && engine->paintDevice() ? engine->paintDevice() : painter.device();
    return target ? target->devicePixelRatio() : 1.0;
}
