#pragma once
// A place on the fretboard, shared by the board, the drill and the practice records:
// strings count from the lowest-sounding (1), fret positions from the open string (1)
// to fret 13 (14).

struct FretPosition {
    int string = 0;
    int fret = 0;

    friend bool operator==(const FretPosition&, const FretPosition&) = default;
    // String by string, then fret by fret: the order positions are listed and kept in.
    friend bool operator<(const FretPosition& a, const FretPosition& b)
    {
        return a.string != b.string ? a.string < b.string : a.fret < b.fret;
    }
};
