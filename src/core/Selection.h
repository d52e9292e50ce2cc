#pragma once
// What a page of the trainer shows: the key, scale and pattern, the patterns drawn on
// the board, and the two switches. The trainer page and the pattern page each own one,
// so what one page changes never reaches the other.

#include <QtGlobal>

#include <vector>

struct Selection {
    int key = 0;                       // 1 "A" .. 12 "A flat"
    int scale = 0;                     // 1 major, 2 minor
    int pattern = 0;                   // 0 none, 1..5, 6 "All Patterns": the drill's pattern
    std::vector<int> visiblePatterns;  // the patterns highlighted on the board
    bool hidePattern = false;          // draw no pattern highlights
    bool pentatonicOnly = false;       // leave out the notes outside the pentatonic subset
    bool hideInvalidNotes = false;     // draw no marker outside the visible pattern

    // Makes pattern the one drawn and drilled.
    void ShowOnly(int patternNum)
    {
        pattern = patternNum;
        visiblePatterns = {patternNum};
    }

    bool operator==(const Selection&) const = default;
};
