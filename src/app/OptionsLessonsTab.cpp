#include "app/OptionsLessonsTab.h"

#include "core/Settings.h"
#include "lessons/Lessons.h"
#include "music/Patterns.h"
#include "music/Scales.h"
#include "music/Tunings.h"
#include "views/KeyScaleBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kDataRole = Qt::UserRole;

QString Translated(const char* context, const QString& name)
{
    return QCoreApplication::translate(context, name.toUtf8().constData());
}

QListWidgetItem* AddListEntry(QListWidget* list, const QString& text, int data)
{
    auto* item = new QListWidgetItem(text, list);
    item->setData(kDataRole, data);
    return item;
}

int EntryData(const QListWidgetItem* item)
{
    return item ? item->data(kDataRole).toInt() : 0;
}

QListWidgetItem* FindEntry(const QListWidget* list, int data)
{
    for (int row = 0; row < list->count(); ++row)
        if (EntryData(list->item(row)) == data)
            return list->item(row);
    return nullptr;
}

bool Holds(const std::vector<int>& patterns, int pattern)
{
    return std::find(patterns.begin(), patterns.end(), pattern) != patterns.end();
}

} // namespace

OptionsLessonsTab::OptionsLessonsTab(Lessons& lessons, QWidget* parent)
    : QWidget(parent)
    , lessons_(lessons)
{
    auto* levelFrame = new QGroupBox(tr("Level"), this);
    auto* levelColumn = new QVBoxLayout(levelFrame);
    lstLessons = new QListWidget(levelFrame);
    lstLessons->setObjectName(QStringLiteral("lstLessons"));
    levelColumn->addWidget(lstLessons);
    connect(lstLessons, &QListWidget::currentItemChanged, this, &OptionsLessonsTab::OnLessonChosen);

    auto* definitionFrame = new QGroupBox(tr("Definition"), this);
    cboKey = new QComboBox(definitionFrame);
    cboKey->setObjectName(QStringLiteral("cboKey"));
    txtKey = new QLineEdit(definitionFrame);
    txtKey->setObjectName(QStringLiteral("txtKey"));
    cboScale = new QComboBox(definitionFrame);
    cboScale->setObjectName(QStringLiteral("cboScale"));
    txtScale = new QLineEdit(definitionFrame);
    txtScale->setObjectName(QStringLiteral("txtScale"));
    for (QLineEdit* text : {txtKey, txtScale})
        text->setReadOnly(true);
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(cboKey);
    keyRow->addWidget(txtKey);
    auto* scaleRow = new QHBoxLayout;
    scaleRow->addWidget(cboScale);
    scaleRow->addWidget(txtScale);

    lstPatterns = new QListWidget(definitionFrame);
    lstPatterns->setObjectName(QStringLiteral("lstPatterns"));
    lstPatterns->setSelectionMode(QAbstractItemView::NoSelection);
    lstPatterns->setFixedHeight(lstPatterns->fontMetrics().lineSpacing() * 3 + 8);

    lstHilitedPatterns = new QListWidget(definitionFrame);
    lstHilitedPatterns->setObjectName(QStringLiteral("lstHilitedPatterns"));
    lstHilitedPatterns->setSelectionMode(QAbstractItemView::MultiSelection);
    lstHilitedPatterns->setFixedHeight(lstHilitedPatterns->fontMetrics().lineSpacing() * 7 + 10);
    connect(lstHilitedPatterns, &QListWidget::itemSelectionChanged, this,
            &OptionsLessonsTab::OnHilitedPatternsChanged);

    chkHideInvalids = new QCheckBox(tr("Hide invalid notes"), definitionFrame);
    chkHideInvalids->setObjectName(QStringLiteral("chkHideInvalids"));
    chkBluesNotesOnly = new QCheckBox(tr("Pentatonic notes only"), definitionFrame);
    chkBluesNotesOnly->setObjectName(QStringLiteral("chkBluesNotesOnly"));

    auto* form = new QFormLayout;
    form->addRow(tr("Key:"), keyRow);
    form->addRow(tr("Scale:"), scaleRow);
    form->addRow(tr("Patterns:"), lstPatterns);
    form->addRow(tr("Hilite") + QLatin1Char('\n') + tr("patterns:"), lstHilitedPatterns);
    form->addRow(chkHideInvalids);
    form->addRow(chkBluesNotesOnly);
    auto* definitionColumn = new QVBoxLayout(definitionFrame);
    definitionColumn->addLayout(form);
    definitionColumn->addStretch();

    auto* row = new QHBoxLayout(this);
    row->addWidget(levelFrame, 1);
    row->addWidget(definitionFrame, 1);
}

void OptionsLessonsTab::Load(const Settings& settings, const Selection& drillSelection)
{
    settings_ = &settings;
    shown_ = drillSelection;
    LoadLessonList(settings.currLessonKey);
    LoadLessonDefinition(ChosenLesson());
    chkHideInvalids->setChecked(drillSelection.hideInvalidNotes);
    chkBluesNotesOnly->setChecked(settings.pentatonicOnly);
}

int OptionsLessonsTab::ChosenLesson() const
{
    return EntryData(lstLessons->currentItem());
}

void OptionsLessonsTab::LoadLessonList(int currentLesson)
{
    const QSignalBlocker blocker(lstLessons);
    lstLessons->clear();
    for (const LessonsItem& entry : lessons_)
        AddListEntry(lstLessons, entry.lesson->name, entry.key.toInt());
    lstLessons->setCurrentItem(FindEntry(lstLessons, currentLesson));
}

void OptionsLessonsTab::LoadLessonDefinition(int lessonKey)
{
    const DrillLesson* lesson = lessons_.Lesson(lessonKey);
    if (!lesson || !settings_)
        return;
    const bool custom = lesson->type == LessonType::CustomScale;
    const int key = custom ? settings_->currCustomKey : lesson->key;
    const int scale = custom ? settings_->currCustomScale : lesson->scale;
    FillKeyBox(cboKey, key);
    txtKey->setText(cboKey->currentText());
    FillScaleBox(cboScale, scale);
    txtScale->setText(cboScale->currentText());

    const Patterns& patterns = ScalePatterns(InstrumentFromSettings(*settings_));
    lstPatterns->clear();
    for (const Pattern& pattern : patterns)
        if (pattern.scale == scale && Holds(lesson->validPatterns, pattern.number))
            AddListEntry(lstPatterns, Translated("Patterns", pattern.name), pattern.number);

    const QSignalBlocker blocker(lstHilitedPatterns);
    lstHilitedPatterns->clear();
    QListWidgetItem* none = AddListEntry(lstHilitedPatterns, tr("None"), 0);
    QListWidgetItem* current = none;
    for (const Pattern& pattern : patterns) {
        if (pattern.scale != scale)
            continue;
        QListWidgetItem* item = AddListEntry(lstHilitedPatterns, Translated("Patterns", pattern.name), pattern.number);
        const bool shown = custom ? pattern.number == settings_->currCustomPattern
                                  : Holds(shown_.visiblePatterns, pattern.number);
        if (shown) {
            item->setSelected(true);
            current = item;
        }
    }
    none->setSelected(current == none);
    lstHilitedPatterns->setCurrentItem(current, QItemSelectionModel::NoUpdate);

    cboKey->setVisible(custom);
    cboKey->setEnabled(custom);
    cboScale->setVisible(custom);
    cboScale->setEnabled(custom);
    txtKey->setVisible(!custom);
    txtKey->setEnabled(false);
    txtScale->setVisible(!custom);
    txtScale->setEnabled(false);
    lstHilitedPatterns->setEnabled(custom);
}

void OptionsLessonsTab::OnLessonChosen()
{
    const DrillLesson* lesson = lessons_.Lesson(ChosenLesson());
    if (!lesson)
        return;
    shown_.ShowOnly(lesson->selectedPattern);
    LoadLessonDefinition(ChosenLesson());
}

void OptionsLessonsTab::OnHilitedPatternsChanged()
{
    // "None" and a pattern exclude each other; an empty choice means "None".
    const QSignalBlocker blocker(lstHilitedPatterns);
    QListWidgetItem* none = lstHilitedPatterns->item(0);
    QListWidgetItem* current = lstHilitedPatterns->currentItem();
    if (!none)
        return;
    if (current == none && none->isSelected()) {
        for (int row = 1; row < lstHilitedPatterns->count(); ++row)
            lstHilitedPatterns->item(row)->setSelected(false);
    } else if (current && current->isSelected()) {
        none->setSelected(false);
    }
    if (lstHilitedPatterns->selectedItems().isEmpty()) {
        none->setSelected(true);
        lstHilitedPatterns->setCurrentItem(none, QItemSelectionModel::NoUpdate);
    }
    lstHilitedPatterns->viewport()->update();
}

void OptionsLessonsTab::Save(Settings& settings, Selection& drillSelection)
{
    drillSelection.visiblePatterns.clear();
    drillSelection.pattern = 0;
    const QListWidgetItem* current = lstHilitedPatterns->currentItem();
    if (current && EntryData(current) != 0) {
        for (int row = 0; row < lstHilitedPatterns->count(); ++row) {
            const QListWidgetItem* item = lstHilitedPatterns->item(row);
            if (item->isSelected() && EntryData(item) != 0) {
                drillSelection.visiblePatterns.push_back(EntryData(item));
                drillSelection.pattern = EntryData(item);
            }
        }
    }
    if (ChosenLesson() != 0)
        settings.currLessonKey = static_cast<qint16>(ChosenLesson());
    if (DrillLesson* lesson = lessons_.Lesson(settings.currLessonKey);
        lesson && lesson->type == LessonType::CustomScale) {
        const int key = cboKey->currentData().toInt();
        const int scale = cboScale->currentData().toInt();
        lesson->ReInitialize(key, scale);
        settings.currCustomKey = static_cast<qint16>(key);
        settings.currCustomScale = static_cast<qint16>(scale);
        settings.currCustomPattern = static_cast<qint16>(EntryData(current));
    }
    drillSelection.hideInvalidNotes = chkHideInvalids->isChecked();
    settings.pentatonicOnly = chkBluesNotesOnly->isChecked();
    drillSelection.pentatonicOnly = settings.pentatonicOnly;
    shown_ = drillSelection;
}
