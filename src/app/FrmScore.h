#pragma once
// The score window: the current learner's timed-test results, one series per lesson
// and one row per test, as 3D bars or 2D lines; a click on a result names it, and
// "Clear score" removes the learner's results. Shown modally by the main window.

#include "app/ScoreGrid.h"

#include <QDialog>
#include <QStringList>

class DbaseItems;
class LearnerItems;
class Lessons;
struct Settings;
class QAction;
class QBar3DSeries;
class QChart;
class QChartView;
class QLabel;
class QMenu;
class QMenuBar;
class QStackedWidget;
class QValueAxis;
class Q3DBars;

class FrmScore : public QDialog {
    Q_OBJECT

public:
    // strLessonNames: the lessons in key order; series s charts lesson key s.
    FrmScore(QStringList strLessonNames, const Settings& settings, const LearnerItems& learners, DbaseItems& scores,
             QWidget* parent = nullptr);

    // The lesson names of the main window's lesson list, in its order.
    static QStringList LessonNames(const Lessons& collLessons);

    // True when this platform gives the 3D view an OpenGL context. Never on the
    // offscreen platform, where the 3D graph would crash.
    static bool Can3D();

    // Rebuilds the grid from the score store and both views from the grid.
    void Refresh();
    void Show3D();
    void Show2D();
    bool Is3DShown() const;
    // Asks, then removes every result of the current learner.
    void ClearScore();
    // Names result r of series s (both 1-based); nothing where there is none.
    void ShowPointMessage(int s, int r);

    const ScoreGrid& Grid() const { return grid_; }
    QChart* Chart2D() const { return chart2D_; }
    Q3DBars* Chart3D() const { return bars3D_; }

    QMenuBar* mnuBar = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnu3D = nullptr;
    QAction* mnu2D = nullptr;
    QMenu* mnuTools = nullptr;
    QAction* mnuClear = nullptr;
    QLabel* lblLearner = nullptr;
    QLabel* lblNotice = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateMenus();
    void Create2D();
    void Create3D();
    void Fill2D();
    void Fill3D();

    QStringList strLessonNames_;
    const Settings& settings_;
    const LearnerItems& learners_;
    DbaseItems& scores_;
    ScoreGrid grid_;
    QStackedWidget* stack_ = nullptr;
    QChartView* view2D_ = nullptr;
    QChart* chart2D_ = nullptr;
    QValueAxis* axisTests_ = nullptr;
    QValueAxis* axisScore_ = nullptr;
    QWidget* container3D_ = nullptr;
    Q3DBars* bars3D_ = nullptr;
    QBar3DSeries* series3D_ = nullptr;
};
