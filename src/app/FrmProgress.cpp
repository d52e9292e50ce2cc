#include "app/FrmProgress.h"

#include "app/PracticeRecords.h"
#include "app/ProgramArt.h"
#include "core/Settings.h"
#include "music/Notes.h"
#include "records/LearnerItems.h"
#include "views/ProgressBoard.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString InstrumentName(InstrumentType type)
{
    switch (type) {
    case InstrumentType::Guitar: return FrmProgress::tr("the guitar");
    case InstrumentType::FourStringBass: return FrmProgress::tr("the four-string bass");
    case InstrumentType::FiveStringBass: return FrmProgress::tr("the five-string bass");
    }
    return QString();
}

QString Seconds(int ms)
{
    return ProgressBoard::TimeLabel(ms) + QStringLiteral(" s");
}

// A day's point on the time axis: its local noon.
qreal DayPoint(const QDate& day)
{
    return qreal(QDateTime(day, QTime(12, 0)).toMSecsSinceEpoch());
}

} // namespace

FrmProgress::FrmProgress(PracticeRecords& practice, const Notes& notes, const Settings& settings,
                         const LearnerItems& learners, QWidget* parent)
    : QDialog(parent)
    , practice_(practice)
    , notes_(notes)
    , settings_(settings)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(tr("Progress"));
    setWindowIcon(ProgramIcon());

    const LearnerItem* learner = learners.Item(QString::number(settings.currLearnerKey));
    const QString whose = learner ? learner->strName : tr("Answers given without a learner");
    lblLearner = new QLabel(whose + tr(", on ") + InstrumentName(notes.GetInstrument().Type()), this);
    lblLearner->setObjectName(QStringLiteral("lblLearner"));
    QFont heading = lblLearner->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.2);
    lblLearner->setFont(heading);

    cboPeriod = new QComboBox(this);
    cboPeriod->setObjectName(QStringLiteral("cboPeriod"));
    cboPeriod->addItem(tr("Last 7 days"), int(ProgressPeriod::Last7Days));
    cboPeriod->addItem(tr("Last 30 days"), int(ProgressPeriod::Last30Days));
    cboPeriod->addItem(tr("All"), int(ProgressPeriod::All));
    cboPeriod->setCurrentIndex(2);
    connect(cboPeriod, &QComboBox::currentIndexChanged, this, &FrmProgress::Refresh);
    auto* top = new QHBoxLayout;
    top->addWidget(lblLearner, 1);
    top->addWidget(cboPeriod);

    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    objBoard = new ProgressBoard(this);
    objBoard->setObjectName(QStringLiteral("objBoard"));
    objBoard->Initialise(notes, static_cast<FretboardStyle>(settings.fretboardStyle));
    auto* legend = new QLabel(tr("Colour: the share of right answers at a place, from red (none) through amber "
                                 "to green (all). Number: the median answer time in seconds."),
                              this);
    legend->setWordWrap(true);
    lblWeakest = new QLabel(this);
    lblWeakest->setObjectName(QStringLiteral("lblWeakest"));
    lblWeakest->setWordWrap(true);
    lblWeakest->setTextFormat(Qt::PlainText);

    CreateChart();
    auto* chartView = new QChartView(chart_, this);
    chartView->setObjectName(QStringLiteral("chtProgress"));
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setMinimumHeight(220);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lblSummary);
    layout->addWidget(objBoard);
    layout->addWidget(legend);
    layout->addWidget(lblWeakest);
    layout->addWidget(chartView, 1);
    layout->addWidget(buttons);
    resize(objBoard->sizeHint().width() + 40, 720);
    Refresh();
}

void FrmProgress::Refresh()
{
    ProgressFilter filter;
    filter.learnerKey = settings_.currLearnerKey >= 0 ? settings_.currLearnerKey : kNoLearner;
    filter.instrument = static_cast<int>(notes_.GetInstrument().Type());
    filter.period = static_cast<ProgressPeriod>(cboPeriod->currentData().toInt());
    filter.utcOffsetSeconds = QDateTime::currentDateTime().offsetFromUtc();
    practice_.CatchUp();
    QString message;
    figures_ = ProgressFigures();
    if (!practice_.Store().Progress(filter, figures_, message))
        lblSummary->setText(message);
    else if (figures_.overall.count == 0)
        lblSummary->setText(tr("No answers in this period yet. Answers given in drill mode, in timed tests and "
                               "in \"Practise weak notes\" appear here."));
    else
        lblSummary->setText(tr("%1 answers, %2 % right, median answer time %3")
                                .arg(figures_.overall.count)
                                .arg(qRound(figures_.overall.Accuracy() * 100))
                                .arg(Seconds(figures_.overall.medianResponseMs)));

    std::vector<PositionHeat> heat;
    heat.reserve(figures_.positions.size());
    for (const PositionFigures& p : figures_.positions)
        heat.push_back({p.position, p.figures.count, p.figures.Accuracy(), p.figures.medianResponseMs});
    objBoard->SetHeat(std::move(heat));
    lblWeakest->setText(WeakestText());
    FillChart();
}

QString FrmProgress::WeakestText() const
{
    if (figures_.weakestNotes.empty())
        return QString();
    QStringList notes;
    for (const NoteFigures& note : figures_.weakestNotes)
        notes << tr("%1 (%2 of %3 right, %4)")
                     .arg(NoteNameOfIndex(note.noteIndex, notes_.Flats()))
                     .arg(note.figures.right)
                     .arg(note.figures.count)
                     .arg(Seconds(note.figures.medianResponseMs));
    return tr("Weakest notes: ") + notes.join(QStringLiteral(", "));
}

void FrmProgress::CreateChart()
{
    chart_ = new QChart();
    chart_->setTheme(QChart::ChartThemeLight);
    chart_->legend()->setAlignment(Qt::AlignBottom);
    auto* days = new QDateTimeAxis(chart_);
    days->setFormat(QStringLiteral("d MMM"));
    days->setTitleText(tr("Day"));
    chart_->addAxis(days, Qt::AlignBottom);
    auto* seconds = new QValueAxis(chart_);
    seconds->setTitleText(tr("Median answer time (s)"));
    seconds->setLabelFormat(QStringLiteral("%.1f"));
    chart_->addAxis(seconds, Qt::AlignLeft);
    auto* percent = new QValueAxis(chart_);
    percent->setTitleText(tr("Right answers (%)"));
    percent->setLabelFormat(QStringLiteral("%d"));
    percent->setRange(0, 100);
    chart_->addAxis(percent, Qt::AlignRight);

    auto* time = new QLineSeries(chart_);
    time->setName(tr("Median answer time"));
    auto* accuracy = new QLineSeries(chart_);
    accuracy->setName(tr("Right answers"));
    for (QLineSeries* series : {time, accuracy}) {
        series->setPointsVisible(true);
        chart_->addSeries(series);
        series->attachAxis(days);
    }
    time->attachAxis(seconds);
    accuracy->attachAxis(percent);
}

void FrmProgress::FillChart()
{
    const QList<QAbstractSeries*> series = chart_->series();
    auto* time = static_cast<QLineSeries*>(series.at(0));
    auto* accuracy = static_cast<QLineSeries*>(series.at(1));
    QList<QPointF> times;
    QList<QPointF> shares;
    int slowest = 0;
    for (const DayFigures& day : figures_.days) {
        times << QPointF(DayPoint(day.day), day.figures.medianResponseMs / 1000.0);
        shares << QPointF(DayPoint(day.day), day.figures.Accuracy() * 100);
        slowest = std::max(slowest, day.figures.medianResponseMs);
    }
    time->replace(times);
    accuracy->replace(shares);

    // Half a day of room on either side, so that a single day still has an axis.
    const QDate first = figures_.days.empty() ? QDate::currentDate() : figures_.days.front().day;
    const QDate last = figures_.days.empty() ? QDate::currentDate() : figures_.days.back().day;
    auto* days = static_cast<QDateTimeAxis*>(chart_->axes(Qt::Horizontal).constFirst());
    days->setRange(QDateTime(first, QTime(0, 0)), QDateTime(last.addDays(1), QTime(0, 0)));
    days->setTickCount(std::clamp(int(first.daysTo(last)) + 2, 2, 8));
    auto* seconds = static_cast<QValueAxis*>(chart_->axes(Qt::Vertical).constFirst());
    seconds->setRange(0, std::max(1.0, slowest / 1000.0 * 1.15));
    seconds->applyNiceNumbers();
}
