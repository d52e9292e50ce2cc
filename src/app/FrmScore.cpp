#include "app/FrmScore.h"

#include "app/ProgramArt.h"
#include "core/Messages.h"
#include "core/Rounding.h"
#include "core/Settings.h"
#include "lessons/Lessons.h"
#include "records/DbaseItems.h"
#include "records/LearnerItems.h"

#include <QActionGroup>
#include <QBrush>
#include <QChart>
#include <QChartView>
#include <QGuiApplication>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QMenuBar>
#include <QPen>
#include <QStackedWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#if __has_include(<QtDataVisualization/Q3DBars>)
#define FRETLORE_HAS_3D 1
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QtDataVisualization/Q3DBars>
#include <QtDataVisualization/Q3DCamera>
#include <QtDataVisualization/Q3DScene>
#include <QtDataVisualization/Q3DTheme>
#include <QtDataVisualization/QBar3DSeries>
#include <QtDataVisualization/QBarDataProxy>
#include <QtDataVisualization/QCategory3DAxis>
#include <QtDataVisualization/QValue3DAxis>
#else
#define FRETLORE_HAS_3D 0
#endif

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

namespace {

// Bars deepen from a pale to a strong blue as the score rises.
QLinearGradient ScoreGradient()
{
    QLinearGradient gradient;
    gradient.setColorAt(0.0, QColor(0xb3, 0xd4, 0xf0));
    gradient.setColorAt(1.0, QColor(0x15, 0x4a, 0x8a));
    return gradient;
}

// Ten colours that stay apart from each other; the chart themes repeat after five.
const QColor SeriesColors[] = {0x1f77b4, 0xff7f0e, 0x2ca02c, 0xd62728, 0x9467bd,
                               0x8c564b, 0xe377c2, 0x7f7f7f, 0xbcbd22, 0x17becf};

// Ticks at every test up to twenty tests, then at round steps.
int TestTickInterval(int intRows)
{
    for (const int step : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000})
        if (intRows <= step * 20)
            return step;
    return 5000;
}

} // namespace

FrmScore::FrmScore(QStringList strLessonNames, const Settings& settings, const LearnerItems& learners,
                   DbaseItems& scores, QWidget* parent)
    : QDialog(parent)
    , strLessonNames_(std::move(strLessonNames))
    , settings_(settings)
    , learners_(learners)
    , scores_(scores)
{
    setObjectName(QStringLiteral("frmScore"));
    setWindowTitle(tr("Score"));
    setWindowIcon(ProgramIcon());
    setMinimumSize(480, 360);
    resize(860, 600);

    lblLearner = new QLabel(this);
    lblLearner->setObjectName(QStringLiteral("lblLearner"));
    QFont heading = lblLearner->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.2);
    lblLearner->setFont(heading);
    lblLearner->setContentsMargins(10, 6, 10, 0);

    lblNotice = new QLabel(this);
    lblNotice->setObjectName(QStringLiteral("lblNotice"));
    lblNotice->setWordWrap(true);
    lblNotice->setContentsMargins(10, 0, 10, 6);
    lblNotice->hide();

    stack_ = new QStackedWidget(this);
    Create2D();
    if (Can3D())
        Create3D();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    CreateMenus();
    layout->setMenuBar(mnuBar);
    layout->addWidget(lblLearner);
    layout->addWidget(stack_, 1);
    layout->addWidget(lblNotice);

    if (bars3D_) {
        Show3D();
    } else {
        lblNotice->setText(tr("The 3D view needs OpenGL, which is not available here, so the scores are "
                              "shown as lines."));
        lblNotice->show();
        Show2D();
    }
}

QStringList FrmScore::LessonNames(const Lessons& collLessons)
{
    QStringList names;
    for (const LessonsItem& lesson : collLessons)
        names << (lesson.lesson ? lesson.lesson->name : lesson.key);
    return names;
}

bool FrmScore::Can3D()
{
#if FRETLORE_HAS_3D
    static const bool available = [] {
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
            return false;
        QOpenGLContext context;
        if (!context.create())
            return false;
        QOffscreenSurface surface;
        surface.setFormat(context.format());
        surface.create();
        if (!surface.isValid() || !context.makeCurrent(&surface))
            return false;
        context.doneCurrent();
        return true;
    }();
    return available;
#else
    return false;
#endif
}

void FrmScore::CreateMenus()
{
    mnuBar = new QMenuBar(this);
    mnuExit = mnuBar->addAction(tr("&Exit"), this, &QDialog::close);
    mnuView = mnuBar->addMenu(tr("&View"));
    mnu3D = mnuView->addAction(tr("&3D view"), this, &FrmScore::Show3D);
    mnu2D = mnuView->addAction(tr("&2D view"), this, &FrmScore::Show2D);
    auto* views = new QActionGroup(this);
    for (QAction* view : {mnu3D, mnu2D}) {
        view->setCheckable(true);
        views->addAction(view);
    }
    mnu3D->setEnabled(bars3D_ != nullptr);
    mnuTools = mnuBar->addMenu(tr("&Tools"));
    mnuClear = mnuTools->addAction(tr("&Clear score"), this, &FrmScore::ClearScore);
}

void FrmScore::Create2D()
{
    chart2D_ = new QChart();
    chart2D_->setTheme(QChart::ChartThemeLight);
    // Beside the plot: the lesson names are too long to share one line below it.
    chart2D_->legend()->setAlignment(Qt::AlignRight);
    chart2D_->legend()->show();

    axisTests_ = new QValueAxis(chart2D_);
    axisTests_->setTitleText(tr("Tests"));
    axisTests_->setLabelFormat(QStringLiteral("%d"));
    axisTests_->setTickType(QValueAxis::TicksDynamic);
    axisTests_->setTickAnchor(1.0);
    axisTests_->setMinorTickCount(0);
    chart2D_->addAxis(axisTests_, Qt::AlignBottom);

    axisScore_ = new QValueAxis(chart2D_);
    axisScore_->setTitleText(tr("Score (%)"));
    axisScore_->setLabelFormat(QStringLiteral("%d"));
    // A little room beyond 0 and 100 so the markers there are not cut in half.
    axisScore_->setRange(-3.0, 103.0);
    axisScore_->setTickType(QValueAxis::TicksDynamic);
    axisScore_->setTickAnchor(0.0);
    axisScore_->setTickInterval(20.0);
    axisScore_->setMinorTickCount(1);
    chart2D_->addAxis(axisScore_, Qt::AlignLeft);

    view2D_ = new QChartView(chart2D_, stack_);
    view2D_->setObjectName(QStringLiteral("chtScore2D"));
    view2D_->setRenderHint(QPainter::Antialiasing);
    stack_->addWidget(view2D_);
}

void FrmScore::Create3D()
{
#if FRETLORE_HAS_3D
    bars3D_ = new Q3DBars();
    Q3DTheme* theme = bars3D_->activeTheme();
    theme->setType(Q3DTheme::ThemeQt);
    theme->setLabelBorderEnabled(false);
    bars3D_->setSelectionMode(QAbstract3DGraph::SelectionItem);
    bars3D_->setShadowQuality(QAbstract3DGraph::ShadowQualitySoftLow);
    bars3D_->setBarThickness(1.0F);
    bars3D_->setBarSpacing(QSizeF(0.4, 0.9));
    // High enough to see over the front lesson, far enough for the long lesson names.
    bars3D_->scene()->activeCamera()->setCameraPosition(-40.0F, 42.0F, 72.0F);

    bars3D_->columnAxis()->setTitle(tr("Tests"));
    bars3D_->rowAxis()->setTitle(tr("Lessons"));
    bars3D_->valueAxis()->setTitle(tr("Score (%)"));
    bars3D_->valueAxis()->setRange(0.0F, 100.0F);
    bars3D_->valueAxis()->setSegmentCount(5);
    bars3D_->valueAxis()->setLabelFormat(QStringLiteral("%d"));
    for (QAbstract3DAxis* axis : {static_cast<QAbstract3DAxis*>(bars3D_->columnAxis()),
                                  static_cast<QAbstract3DAxis*>(bars3D_->rowAxis()),
                                  static_cast<QAbstract3DAxis*>(bars3D_->valueAxis())})
        axis->setTitleVisible(true);
    // Test numbers and lesson names turn towards the viewer; the value axis title would
    // turn upside down.
    bars3D_->columnAxis()->setLabelAutoRotation(60.0F);
    bars3D_->rowAxis()->setLabelAutoRotation(60.0F);

    series3D_ = new QBar3DSeries();
    series3D_->setMesh(QAbstract3DSeries::MeshBevelBar);
    series3D_->setColorStyle(Q3DTheme::ColorStyleRangeGradient);
    series3D_->setBaseGradient(ScoreGradient());
    series3D_->setItemLabelFormat(QStringLiteral("@rowLabel, @colTitle @colLabel: @valueLabel %"));
    bars3D_->addSeries(series3D_);
    // Queued: the graph reports a selection while it renders, no place for a modal box.
    connect(series3D_, &QBar3DSeries::selectedBarChanged, this, [this](const QPoint& position) {
        if (position == QBar3DSeries::invalidSelectionPosition())
            return;
        ShowPointMessage(position.x() + 1, position.y() + 1);
        series3D_->setSelectedBar(QBar3DSeries::invalidSelectionPosition());
    }, Qt::QueuedConnection);

    container3D_ = QWidget::createWindowContainer(bars3D_, stack_);
    container3D_->setObjectName(QStringLiteral("chtScore3D"));
    container3D_->setFocusPolicy(Qt::StrongFocus);
    stack_->addWidget(container3D_);
#endif
}

void FrmScore::showEvent(QShowEvent* event)
{
    // The window is modal: nothing else can change the results while it is open, so
    // one refresh when it appears is enough.
    Refresh();
    QDialog::showEvent(event);
}

void FrmScore::Refresh()
{
    grid_ = ScoreGrid::Build(scores_, settings_.currLearnerKey, strLessonNames_);
    const LearnerItem* learner = learners_.Item(QString::number(settings_.currLearnerKey));
    lblLearner->setText(learner ? tr("Learner: ") + learner->strName : QString());
    lblLearner->setVisible(learner != nullptr);
    Fill2D();
    Fill3D();
}

void FrmScore::Fill2D()
{
    chart2D_->removeAllSeries();
    for (int s = 1; s <= grid_.SeriesCount(); ++s) {
        auto* line = new QLineSeries(chart2D_);
        line->setName(grid_.ColumnLabel(s));
        // Only real results: a lesson with fewer tests ends early instead of dropping to 0.
        for (int r = 1; grid_.HasResult(s, r); ++r)
            line->append(r, grid_.PercentAt(s, r));
        line->setPointsVisible(true);
        line->setMarkerSize(7.0);
        chart2D_->addSeries(line);
        const QColor colour = SeriesColors[(s - 1) % std::size(SeriesColors)];
        line->setPen(QPen(colour, 2.5));
        line->setBrush(colour); // the markers and the legend's box
        line->attachAxis(axisTests_);
        line->attachAxis(axisScore_);
        connect(line, &QXYSeries::clicked, this,
                [this, s](const QPointF& point) { ShowPointMessage(s, RoundToInt16(point.x())); });
    }
    const int rows = std::max(grid_.RowCount(), 1);
    axisTests_->setRange(0.75, rows + 0.25);
    axisTests_->setTickInterval(TestTickInterval(rows));
}

void FrmScore::Fill3D()
{
#if FRETLORE_HAS_3D
    if (!series3D_)
        return;
    auto* data = new QBarDataArray;
    data->reserve(grid_.SeriesCount());
    QStringList rowLabels;
    for (int s = 1; s <= grid_.SeriesCount(); ++s) {
        auto* row = new QBarDataRow;
        for (int r = 1; grid_.HasResult(s, r); ++r)
            row->append(QBarDataItem(static_cast<float>(grid_.PercentAt(s, r))));
        data->append(row);
        rowLabels << grid_.ColumnLabel(s);
    }
    QStringList columnLabels;
    for (int r = 1; r <= grid_.RowCount(); ++r)
        columnLabels << grid_.RowLabel(r);
    series3D_->dataProxy()->resetArray(data, rowLabels, columnLabels);
#endif
}

void FrmScore::Show3D()
{
    if (!container3D_)
        return;
    stack_->setCurrentWidget(container3D_);
    mnu3D->setChecked(true);
}

void FrmScore::Show2D()
{
    stack_->setCurrentWidget(view2D_);
    mnu2D->setChecked(true);
}

bool FrmScore::Is3DShown() const
{
    return container3D_ && stack_->currentWidget() == container3D_;
}

void FrmScore::ShowPointMessage(int s, int r)
{
    if (const std::optional<QString> message = grid_.PointMessage(s, r))
        ShowMessage(*message, MsgPlain);
}

void FrmScore::ClearScore()
{
    if (ShowMessage(tr("Are you sure you want to clear the score sheet?"), MsgOkCancel) != MsgOk)
        return;
    QString message;
    if (!scores_.RemoveScoresOfLearner(settings_.currLearnerKey, message))
        ShowMessage(DatabaseProblemMessage(message), MsgPlain);
    Refresh();
}
