#include "app/ScoreGrid.h"

#include "records/DbaseItems.h"
#include "records/RecordFile.h"

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
    // Rounded from the decimal text the score file holds for the value, not from its
    // binary neighbour: 0.1235 is stored a hair below the decimal half, yet shows 12.4
    // like its text, and a half always goes away from zero, as in the score message.
    if (!std::isfinite(fltValue))
        return QString::number(double(fltValue));
    const QString stored = FormatScore(fltValue); // "0.5625", "-0.5", "1"
    const bool negative = stored.startsWith(QLatin1Char('-'));
    const QStringView magnitude = QStringView(stored).mid(negative ? 1 : 0);
    const qsizetype point = magnitude.indexOf(QLatin1Char('.'));
    const QStringView whole = point < 0 ? magnitude : magnitude.left(point);
    const QString fraction = (point < 0 ? QString() : magnitude.mid(point + 1).toString())
        + QStringLiteral("0000"); // at least the two digits into the whole, the tenth and the next
    // The percentage in tenths: the whole part, then two digits of the fraction into the
    // whole and one after the point; the next digit decides the rounding.
    QString digits = whole.toString() + fraction.left(3);
    if (fraction.at(3) >= QLatin1Char('5')) {
        qsizetype i = digits.size() - 1;
        while (i >= 0 && digits[i] == QLatin1Char('9'))
            digits[i--] = QLatin1Char('0');
        if (i < 0)
            digits.prepend(QLatin1Char('1'));
        else
            digits[i] = QChar(digits[i].unicode() + 1);
    }
    while (digits.size() > 1 && digits.front() == QLatin1Char('0'))
        digits.remove(0, 1);
    QString text = digits.size() > 1 ? digits.left(digits.size() - 1) : QString();
    text += QLatin1Char('.') + digits.right(1);
    const bool zero = digits == QLatin1String("0");
    return negative && !zero ? QLatin1Char('-') + text : text;
}
