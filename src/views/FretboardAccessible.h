#pragma once
// The fretboard for screen readers: a table whose rows are the strings (row 1 the
// highest-sounding, string 1 as players count) and whose columns are the frets (column
// 1 the open string). A cell is named "string 6, fret 3"; it is selected while a
// marker is drawn on it, focused while it is the keyboard's cursor, and its press
// action answers as a click would.

#include "music/PatternLayout.h"

class FretboardControl;

// Makes Qt build the table for every fretboard; safe to call more than once.
void InstallFretboardAccessibility();

// The index of a cell among the table's children (row by row).
int FretboardChildIndex(const FretboardControl& board, FretPosition cell);
