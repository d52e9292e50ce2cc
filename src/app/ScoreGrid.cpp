#include "app/ScoreGrid.h"

#include "core/Rounding.h"
#include "records/DbaseItems.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

ScoreGrid ScoreGrid::Build(const DbaseItems& store, qint16 intLearnerKey, const QStringList& strLessonNames)
{
    ScoreGrid grid;
    for (int s = 1; s <= strLessonNames.size(); ++s) {
        ScoreSeries series{strLessonNames.at(s - 1), store.LessonResults(intLearnerKey, static_cast<qint16>(s))};
        grid.intRows_ = std::max(grid.intRows_, static_cast<int>(series.fltValues.size()));
        grid.series_.push_back(std::move(series));
    }
    return grid;
}

bool ScoreGrid::HasResult(int s, int r) const
{
    return s >= 1 && s <= SeriesCount() && r >= 1 && r <= static_cast<int>(Series(s).fltValues.size());
}

double ScoreGrid::PercentAt(int s, int r) const
{
    return HasResult(s, r) ? double(Series(s).fltValues[static_cast<size_t>(r - 1)]) * 100.0 : 0.0;
}

QString ScoreGrid::CellText(int s, int r) const
{
    return HasResult(s, r) ? FormatScorePercent(Series(s).fltValues[static_cast<size_t>(r - 1)])
                           : QStringLiteral("0");
}

std::optional<QString> ScoreGrid::PointMessage(int s, int r) const
{
    if (!HasResult(s, r))
        return std::nullopt;
    return Series(s).strName + QCoreApplication::translate("frmScore", ", test number: ") + QString::number(r)
        + QCoreApplication::translate("frmScore", ", scored: ") + CellText(s, r) + QLatin1Char('%');
}

QString FormatScorePercent(float fltValue)
{
    // Through the tenths as a whole number, so 87.5 never prints as 87.499999.
    const double tenths = RoundHalfEven(double(fltValue) * 1000.0);
    const qlonglong magnitude = std::llround(std::fabs(tenths));
    const qlonglong whole = magnitude / 10;
    QString text = whole == 0 ? QString() : QString::number(whole);
    text += QLatin1Char('.') + QString::number(magnitude % 10);
    return tenths < 0 ? QLatin1Char('-') + text : text;
}
