#pragma once
// The learner dialog: selects the current learner, creates, renames and deletes
// learners (and with them their scores and practice answers; a renamed learner keeps
// both). The caller sets intAction, calls exec() and reads intAction back: 4 means the
// learners could not be loaded and the caller skips its follow-up.

#include <QDialog>
#include <QtGlobal>

class DbaseItems;
class LearnerItems;
class PracticeRecords;
class QLabel;
struct Settings;
class QLineEdit;
class QListWidget;
class QPushButton;

class FrmLearner : public QDialog {
    Q_OBJECT

public:
    enum Action : qint32 {
        ActionSelect = 0,
        ActionCreate = 1,
        ActionEdit = 2,
        ActionDelete = 3,
        ActionNotLoaded = 4,
    };

    // practice: where a deleted learner's answers go from; none leaves them.
    FrmLearner(Settings& settings, LearnerItems& learners, DbaseItems& scores, PracticeRecords* practice = nullptr,
               QWidget* parent = nullptr);

    qint32 intAction = ActionSelect;

    // Reloads the learners and sets the controls up for intAction. On failure shows
    // why, sets intAction to ActionNotLoaded and returns false.
    bool Load();
    // Load, then modal; returns at once, rejected, when the load failed.
    int exec() override;

    // Lists the learners in store order and selects the current one, if listed.
    void FillLearnerList();
    // What OK does for intAction; also a double-click on a list entry.
    void OnOk();

    QListWidget* lstLearners = nullptr;
    QLineEdit* boxLearner = nullptr;
    QLabel* txtMessage = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    void BuildControls();
    void OnSelectionChanged();
    // The key of the selected entry; shows the no-selection message when there is none.
    bool SelectedKey(qint16& intKey) const;
    void SelectLearner();
    void CreateLearner();
    void EditLearner();
    void DeleteLearner();
    // Writes the learners; on success closes the dialog when closeAfter is true.
    bool Save(bool closeAfter);

    Settings& settings_;
    LearnerItems& learners_;
    DbaseItems& scores_;
    PracticeRecords* practice_ = nullptr;
};
