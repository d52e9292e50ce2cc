#include "music/PatternLayout.h"

#include <algorithm>

PatternLayout::PatternLayout(const Instrument& instrument, const Selection& selection)
    : stringCount_(instrument.StringCount())
    , cells_(static_cast<size_t>(stringCount_ * kFretPositions))
{
    const Patterns& patterns = ScalePatterns(instrument);
    for (int s = 1; s <= stringCount_; ++s) {
        for (int f = 1; f <= kFretPositions; ++f) {
            Cell& cell = At({s, f});
            cell.patternNums = GetPatternNumsAtFret(patterns, s, f, selection.key, selection.scale,
                                                    selection.pentatonicOnly);
            // The first visible pattern that holds the cell highlights it.
            cell.highlighted = selection.pattern != 0
                && std::any_of(selection.visiblePatterns.begin(), selection.visiblePatterns.end(), [&](int visible) {
                       return std::find(cell.patternNums.begin(), cell.patternNums.end(), visible)
                           != cell.patternNums.end();
                   });
        }
    }
    ApplyPatternWrapRule(instrument, selection.pattern);
}

const PatternLayout::Cell& PatternLayout::At(FretPosition cell) const
{
    return cells_.at(static_cast<size_t>((cell.string - 1) * kFretPositions + cell.fret - 1));
}

PatternLayout::Cell& PatternLayout::At(FretPosition cell)
{
    return cells_.at(static_cast<size_t>((cell.string - 1) * kFretPositions + cell.fret - 1));
}

bool PatternLayout::PatternContains(FretPosition cell, int patternNum) const
{
    const int wanted = patternNum == 0 ? kAllPatterns : patternNum;
    const std::vector<int>& numbers = At(cell).patternNums;
    return std::find(numbers.begin(), numbers.end(), wanted) != numbers.end();
}

bool PatternLayout::IsHighlighted(FretPosition cell) const
{
    return At(cell).highlighted;
}

bool PatternLayout::PatternContainsAndIsVisible(FretPosition cell, int patternNum) const
{
    return patternNum == 0 || (PatternContains(cell, patternNum) && IsHighlighted(cell));
}

// A pattern repeats every 12 frets, so near either end of the board it shows twice:
// keep the copy that joins the pattern's middle frets and clear the other.
void PatternLayout::ApplyPatternWrapRule(const Instrument& instrument, int patternNum)
{
    if (patternNum == 0 || stringCount_ == 0)
        return;
    const Pattern* pattern = ScalePatterns(instrument).Find(QString::number(patternNum));
    if (!pattern || pattern->name == QLatin1String("All Patterns"))
        return;
    const int last = kFretPositions;
    const auto anyStringHas = [&](int fret) {
        for (int s = 1; s <= stringCount_; ++s)
            if (PatternContains({s, fret}, patternNum))
                return true;
        return false;
    };
    if (!anyStringHas(last - 1) && !anyStringHas(last))
        return;
    int midCount = 0;
    for (int fret = last - 5; fret <= last - 2; ++fret)
        if (PatternContains({1, fret}, patternNum))
            ++midCount;
    const int first = midCount > 0 ? 1 : last - 2;
    for (int s = 1; s <= stringCount_; ++s)
        for (int fret = first; fret <= first + 2; ++fret)
            At({s, fret}).highlighted = false;
}

std::vector<FretPosition> QuestionPool(const Instrument& instrument, const Selection& selection)
{
    const PatternLayout layout(instrument, selection);
    std::vector<FretPosition> pool;
    for (int s = 1; s <= layout.StringCount(); ++s)
        for (int f = 1; f <= kFretPositions; ++f) {
            const FretPosition cell{s, f};
            const bool asked = selection.pattern != 0 ? layout.PatternContainsAndIsVisible(cell, selection.pattern)
                                                      : layout.PatternContains(cell, selection.pattern);
            if (asked)
                pool.push_back(cell);
        }
    return pool;
}
