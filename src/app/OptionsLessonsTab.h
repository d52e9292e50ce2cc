#pragma once
// The options dialog's "Lessons" tab: the lesson in use and its definition (key,
// scale, patterns), which patterns the board highlights, and the two note filters.
// Choosing a lesson shows its definition and highlights its pattern at once.

#include "core/Selection.h"

#include <QWidget>

class Lessons;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
struct Settings;

class OptionsLessonsTab : public QWidget {
    Q_OBJECT
public:
    explicit OptionsLessonsTab(Lessons& lessons, QWidget* parent = nullptr);

    // drillSelection: what the trainer shows now.
    void Load(const Settings& settings, const Selection& drillSelection);
    // Writes the lesson choice into settings and the trainer's selection; the custom
    // lesson takes the chosen key and scale.
    void Save(Settings& settings, Selection& drillSelection);

    QListWidget* lstLessons = nullptr;
    QComboBox* cboKey = nullptr;
    QLineEdit* txtKey = nullptr;
    QComboBox* cboScale = nullptr;
    QLineEdit* txtScale = nullptr;
    QListWidget* lstPatterns = nullptr;
    QListWidget* lstHilitedPatterns = nullptr;
    QCheckBox* chkHideInvalids = nullptr;
    QCheckBox* chkBluesNotesOnly = nullptr;

private:
    void LoadLessonList(int currentLesson);
    void LoadLessonDefinition(int lessonKey);
    void OnLessonChosen();
    void OnHilitedPatternsChanged();
    int ChosenLesson() const;

    Lessons& lessons_;
    const Settings* settings_ = nullptr;
    Selection shown_; // the highlighted patterns as the list shows them
};
