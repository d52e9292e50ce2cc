#pragma once
// The progress window: the current learner's answers on the current instrument over
// the last 7 days, 30 days or all time, drawn on the fretboard (ProgressBoard), the
// five weakest notes named, and the median answer time and share of right answers per
// day as a line chart. Shown modally by the main window.

#include "records/PracticeProgress.h"

#include <QDialog>

class LearnerItems;
class Notes;
class PracticeRecords;
class ProgressBoard;
class QChart;
class QComboBox;
class QLabel;
struct Settings;

class FrmProgress : public QDialog {
    Q_OBJECT
public:
    FrmProgress(PracticeRecords& practice, const Notes& notes, const Settings& settings, const LearnerItems& learners,
                QWidget* parent = nullptr);

    // Reads the figures of the chosen period again and shows them.
    void Refresh();
    const ProgressFigures& Figures() const { return figures_; }
    QChart* Chart() const { return chart_; }

    QLabel* lblLearner = nullptr;
    QComboBox* cboPeriod = nullptr; // "Last 7 days", "Last 30 days", "All"
    QLabel* lblSummary = nullptr;
    ProgressBoard* objBoard = nullptr;
    QLabel* lblWeakest = nullptr;

private:
    void CreateChart();
    void FillChart();
    QString WeakestText() const;

    PracticeRecords& practice_;
    const Notes& notes_;
    const Settings& settings_;
    ProgressFigures figures_;
    QChart* chart_ = nullptr;
};
