#pragma once
// The key and scale lists as the windows offer them: translated names, each entry's
// data its identifier (keys 1..12, scales 1..2).

class QComboBox;

// Refills box without raising its signals and selects current (none when absent).
void FillKeyBox(QComboBox* box, int current);
void FillScaleBox(QComboBox* box, int current);
