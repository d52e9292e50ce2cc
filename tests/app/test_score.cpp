#include "app/AppFixture.h"

#include "app/FrmScore.h"
#include "app/ScoreGrid.h"

#include <QAction>
#include <QChart>
#include <QGuiApplication>
#include <QLabel>
#include <QLineSeries>
#include <QValueAxis>
#include <QtDataVisualization/Q3DBars>
#include <QtDataVisualization/QBar3DSeries>
#include <QtDataVisualization/QBarDataProxy>
#include <QtDataVisualization/QCategory3DAxis>
#include <QtDataVisualization/QValue3DAxis>

#include <memory>

namespace {

const QStringList LessonNamesForTest{QStringLiteral("Lesson 1 - Start"), QStringLiteral("Lesson 2 - Second"),
                                     QStringLiteral("Lesson 3 - Third")};

// One decimal, no leading zero, and halves away from zero on the decimal text the score
// file holds: 0.1235 is stored as a float a hair below it.
TEST(ScorePercent, HasOneDecimalNoLeadingZeroAndRoundsHalvesUp)
{
    const std::pair<float, const char*> cases[] = {
        {0.875F, "87.5"},  {1.0F, "100.0"}, {0.0F, ".0"},       {0.005F, ".5"},     {0.7576F, "75.8"},
        {0.1F, "10.0"},    {0.99996F, "100.0"}, {0.5625F, "56.3"}, {0.0625F, "6.3"}, {0.0005F, ".1"},
        {0.1235F, "12.4"}, {0.12349F, "12.3"}, {0.99995F, "100.0"}, {-0.5625F, "-56.3"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatScorePercent(value), QLatin1String(text)) << value;
}

class ScoreData : public RecordsFixture {
protected:
    void SetUp() override
    {
        RecordsFixture::SetUp();
        ASSERT_TRUE(learners.GetDataFromFile(message));
        qint16 key = 0;
        for (const char* name : {"Anna", "Ben"})
            ASSERT_TRUE(learners.AddNew(QString::fromUtf8(name), key, message));
        // Anna: three tests in lesson 1, one in lesson 3; Ben: two in lesson 2.
        AddScore(1, 1, 0.875F);
        AddScore(2, 2, 0.5F);
        AddScore(1, 3, 0.0F);
        AddScore(1, 1, 1.0F);
        AddScore(2, 2, 0.25F);
        AddScore(1, 1, 0.7576F);
        settings.currLearnerKey = 1;
    }
};

TEST_F(ScoreData, TheGridHasASeriesPerLessonAndARowPerTestAndNamesItsPoints)
{
    const ScoreGrid grid = ScoreGrid::Build(scores, 1, LessonNamesForTest);
    ASSERT_EQ(grid.SeriesCount(), 3);
    ASSERT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.ColumnLabel(3), QStringLiteral("Lesson 3 - Third"));
    const QStringList lesson1{grid.CellText(1, 1), grid.CellText(1, 2), grid.CellText(1, 3)};
    EXPECT_EQ(lesson1, (QStringList{QStringLiteral("87.5"), QStringLiteral("100.0"), QStringLiteral("75.8")}))
        << "in store order";
    EXPECT_EQ(grid.CellText(2, 1), QStringLiteral("0")) << "Ben's results are not Anna's";
    EXPECT_EQ(grid.CellText(3, 1), QStringLiteral(".0")) << "a real zero differs from a missing test";
    EXPECT_EQ(grid.CellText(3, 2), QStringLiteral("0"));
    EXPECT_EQ(grid.PointMessage(3, 1).value_or(QString()),
              QStringLiteral("Lesson 3 - Third, test number: 1, scored: .0%"));
    for (const auto& [series, row] : {std::pair{3, 2}, std::pair{4, 1}, std::pair{1, 0}})
        EXPECT_FALSE(grid.PointMessage(series, row).has_value()) << series << "/" << row;

    EXPECT_EQ(ScoreGrid::Build(scores, 2, LessonNamesForTest).CellText(2, 2), QStringLiteral("25.0"));
    EXPECT_EQ(ScoreGrid::Build(scores, 7, LessonNamesForTest).RowCount(), 0);
}

QLineSeries* LineOf(QChart* chart, int s)
{
    return qobject_cast<QLineSeries*>(chart->series().at(s - 1));
}

TEST_F(ScoreData, WithoutOpenGLTheWindowShowsLinesAndSaysWhy)
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        GTEST_SKIP() << "checks the offscreen fallback";
    FrmScore window(LessonNamesForTest, settings, learners, scores);
    window.show();
    EXPECT_FALSE(FrmScore::Can3D());
    EXPECT_FALSE(window.Is3DShown());
    EXPECT_FALSE(window.mnu3D->isEnabled());
    EXPECT_TRUE(window.lblNotice->isVisible());
    EXPECT_FALSE(window.lblNotice->text().isEmpty());
    EXPECT_EQ(window.lblLearner->text(), QStringLiteral("Learner: Anna"));
    EXPECT_TRUE(recorder.shown.empty()) << "a notice, not a message box";
}

TEST_F(ScoreData, TheLinesChartTheLearnersResults)
{
    AddScore(1, 2, 0.5625F); // figures that round like the score message
    AddScore(1, 2, 0.1235F);
    FrmScore window(LessonNamesForTest, settings, learners, scores);
    window.show();
    window.Show2D();
    QChart* chart = window.Chart2D();
    ASSERT_EQ(chart->series().size(), 3);
    const QList<QPointF> lesson1 = LineOf(chart, 1)->points();
    EXPECT_EQ(lesson1, (QList<QPointF>{{1, 87.5}, {2, 100.0}, {3, double(0.7576F) * 100.0}}));
    EXPECT_EQ(LineOf(chart, 2)->count(), 2);
    EXPECT_EQ(LineOf(chart, 3)->points(), (QList<QPointF>{{1, 0.0}}));

    const auto horizontal = chart->axes(Qt::Horizontal);
    ASSERT_EQ(horizontal.size(), 1);
    const auto* tests = qobject_cast<QValueAxis*>(horizontal.first());
    ASSERT_NE(tests, nullptr);
    EXPECT_LT(tests->min(), 1.0);
    EXPECT_GT(tests->max(), 3.0);
    EXPECT_LT(tests->max(), 4.0);

    // A click near a point names it; one past lesson 3's only test says nothing.
    emit LineOf(chart, 1)->clicked(QPointF(2.2, 98.0));
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Lesson 1 - Start, test number: 2, scored: 100.0%"));
    EXPECT_EQ(recorder.shown.back().style, int(MsgOkOnly));
    emit LineOf(chart, 3)->clicked(QPointF(2.0, 0.0));
    EXPECT_EQ(recorder.shown.size(), 1U);
    emit LineOf(chart, 2)->clicked(QPointF(1.0, 56.25));
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Lesson 2 - Second, test number: 1, scored: 56.3%"));
    emit LineOf(chart, 2)->clicked(QPointF(2.0, 12.35));
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Lesson 2 - Second, test number: 2, scored: 12.4%"));
}

TEST_F(ScoreData, ClearingAsksThenRemovesOnlyTheCurrentLearnersResults)
{
    FrmScore window(LessonNamesForTest, settings, learners, scores);
    window.show();
    recorder.answers.push_back(MsgCancel);
    window.mnuClear->trigger();
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Are you sure you want to clear the score sheet?"));
    EXPECT_EQ(recorder.shown.back().style, int(MsgOkCancel));
    EXPECT_EQ(scores.Count(), 6);
    EXPECT_EQ(window.Grid().RowCount(), 3);

    window.mnuClear->trigger();
    EXPECT_EQ(recorder.shown.size(), 2U);
    EXPECT_EQ(window.Grid().RowCount(), 0);
    EXPECT_TRUE(LineOf(window.Chart2D(), 1)->points().isEmpty());
    EXPECT_EQ(ScoreOwnersOnDisk(), (std::vector<int>{2, 2}));
}

// The 3D graph needs OpenGL: run with xvfb-run and QT_QPA_PLATFORM=xcb.
TEST_F(ScoreData, TheBarsChartTheLearnersResultsWhereOpenGLRuns)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen") || !FrmScore::Can3D())
        GTEST_SKIP() << "no OpenGL on this platform";
    FrmScore window(LessonNamesForTest, settings, learners, scores);
    window.show();
    EXPECT_TRUE(window.Is3DShown());
    EXPECT_TRUE(window.mnu3D->isChecked());
    EXPECT_FALSE(window.lblNotice->isVisible());
    Q3DBars* bars = window.Chart3D();
    ASSERT_NE(bars, nullptr);
    const QBarDataProxy* proxy = bars->primarySeries()->dataProxy();
    EXPECT_EQ(proxy->rowLabels(), LessonNamesForTest);
    EXPECT_EQ(proxy->columnLabels(), (QStringList{"1", "2", "3"}));
    ASSERT_EQ(proxy->rowCount(), 3);
    EXPECT_EQ(proxy->rowAt(0)->size(), 3);
    EXPECT_FLOAT_EQ(proxy->itemAt(0, 0)->value(), 87.5F);
    EXPECT_EQ(proxy->rowAt(1)->size(), 0);

    window.Show2D();
    EXPECT_FALSE(window.Is3DShown());
    window.mnu3D->trigger();
    EXPECT_TRUE(window.Is3DShown());
}

} // namespace
