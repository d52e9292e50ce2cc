#pragma once
// The score chart's data, apart from any chart: one series per lesson, one row per
// test, built from the score store for one learner.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>
#include <vector>

class DbaseItems;

struct ScoreSeries {
    QString strName;              // the lesson's name: legend text and series label
    std::vector<float> fltValues; // the learner's results in store order, fractions 0..1
};

class ScoreGrid {
public:
    // Series s (1-based) holds the results of lesson key s; strLessonNames gives
    // the lessons in key order.
    static ScoreGrid Build(const DbaseItems& store, qint16 intLearnerKey, const QStringList& strLessonNames);

    int SeriesCount() const { return static_cast<int>(series_.size()); }
    // The length of the longest series; 0 when the learner has no results.
    int RowCount() const { return intRows_; }
    const ScoreSeries& Series(int s) const { return series_.at(static_cast<size_t>(s - 1)); }

    // True when series s has an r-th result (both 1-based).
    bool HasResult(int s, int r) const;
    // The r-th result of series s as a percentage (87.5); 0 where there is none.
    double PercentAt(int s, int r) const;
    // The cell's text: the percentage in "##.0" form, "0" where there is no result.
    QString CellText(int s, int r) const;
    QString RowLabel(int r) const { return QString::number(r); }
    QString ColumnLabel(int s) const { return Series(s).strName; }

    // What a click on point r of series s says; none where there is no result.
    std::optional<QString> PointMessage(int s, int r) const;

private:
    std::vector<ScoreSeries> series_;
    int intRows_ = 0;
};

// A fraction as a percentage with one decimal and no leading zero ("##.0"):
// 0.875 -> "87.5", 1 -> "100.0", 0 -> ".0". The tenths are rounded from the value's
// decimal text as the score file holds it, halves away from zero (0.5625 -> "56.3").
QString FormatScorePercent(float fltValue);
