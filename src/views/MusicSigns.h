#pragma once
// The music signs of the staff (clefs, sharp, flat, the note of the "listen" picture),
// read once from data/Images/MusicSigns.svg and drawn as outlines at any size.

#include <QString>

#include <memory>

class QPainter;
class QPointF;
class QSvgRenderer;

enum class MusicSign { TrebleClef, BassClef, Sharp, Flat, Note };

class MusicSigns {
public:
    MusicSigns();
    ~MusicSigns();
    MusicSigns(const MusicSigns&) = delete;
    MusicSigns& operator=(const MusicSigns&) = delete;

    // Reads the signs from the program's data. False, with a sentence naming the file,
    // when they cannot be read; the signs are then simply not drawn.
    bool Load(QString* error);
    bool IsLoaded() const;

    // Draws a sign with its frame's origin at origin, its frame's units scale pixels
    // large (see tools/draw_artwork.cpp for each sign's frame).
    void Draw(QPainter& painter, MusicSign sign, QPointF origin, double scale) const;

private:
    std::unique_ptr<QSvgRenderer> renderer_;
};
