#include "app/FrmLearner.h"

#include "app/PracticeRecords.h"
#include "app/ProgramArt.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "records/DbaseItems.h"
#include "records/LearnerItems.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

FrmLearner::FrmLearner(Settings& settings, LearnerItems& learners, DbaseItems& scores, PracticeRecords* practice,
                       QWidget* parent)
    : QDialog(parent)
    , settings_(settings)
    , learners_(learners)
    , scores_(scores)
    , practice_(practice)
{
    setObjectName(QStringLiteral("frmLearner"));
    BuildControls();
}

void FrmLearner::BuildControls()
{
    setWindowTitle(tr("Learner management"));
    setWindowIcon(ProgramIcon());
    setMinimumSize(320, 300);
    resize(380, 380);

    txtMessage = new QLabel(this);
    txtMessage->setObjectName(QStringLiteral("txtMessage"));
    txtMessage->setWordWrap(true);
    QFont emphasis = txtMessage->font();
    emphasis.setBold(true);
    txtMessage->setFont(emphasis);

    lstLearners = new QListWidget(this);
    lstLearners->setObjectName(QStringLiteral("lstLearners"));
    lstLearners->setSelectionMode(QAbstractItemView::SingleSelection);
    lstLearners->setAlternatingRowColors(true);
    connect(lstLearners, &QListWidget::itemSelectionChanged, this, &FrmLearner::OnSelectionChanged);
    connect(lstLearners, &QListWidget::itemDoubleClicked, this, [this] { OnOk(); });

    boxLearner = new QLineEdit(this);
    boxLearner->setObjectName(QStringLiteral("boxLearner"));
    boxLearner->setClearButtonEnabled(true);

    btnOk = new QPushButton(tr("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &FrmLearner::OnOk);
    btnCancel = new QPushButton(tr("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(btnOk, QDialogButtonBox::AcceptRole);
    buttons->addButton(btnCancel, QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtMessage);
    layout->addWidget(lstLearners, 1);
    layout->addWidget(boxLearner);
    layout->addSpacing(4);
    layout->addWidget(buttons);
}

bool FrmLearner::Load()
{
    QString message;
    if (!learners_.GetDataFromFile(message)) {
        ShowMessage(message, MsgPlain);
        intAction = ActionNotLoaded;
        return false;
    }
    boxLearner->clear();
    FillLearnerList();

    lstLearners->setEnabled(intAction != ActionCreate);
    boxLearner->setEnabled(intAction == ActionCreate || intAction == ActionEdit);
    switch (intAction) {
    case ActionSelect:
        txtMessage->setText(tr("Select the learner from the list."));
        break;
    case ActionCreate:
        // A new name starts from an empty box, not from the current learner's name.
        boxLearner->clear();
        txtMessage->setText(tr("Type the new learner name here."));
        break;
    case ActionEdit:
        txtMessage->setText(tr("Select the learner to edit from the list and modify its value."));
        break;
    case ActionDelete:
        txtMessage->setText(tr("Select the learner to delete from the list."));
        break;
    default:
        break;
    }
    if (boxLearner->isEnabled())
        boxLearner->setFocus();
    else
        lstLearners->setFocus();
    return true;
}

int FrmLearner::exec()
{
    if (!Load())
        return Rejected;
    return QDialog::exec();
}

void FrmLearner::FillLearnerList()
{
    const QSignalBlocker blocker(lstLearners);
    lstLearners->clear();
    QListWidgetItem* current = nullptr;
    for (const LearnerItem& learner : learners_) {
        auto* entry = new QListWidgetItem(learner.strName, lstLearners);
        entry->setData(Qt::UserRole, int(learner.intKey));
        if (learner.intKey == settings_.currLearnerKey)
            current = entry;
    }
    if (current) {
        lstLearners->setCurrentItem(current);
        boxLearner->setText(current->text());
    }
}

void FrmLearner::OnSelectionChanged()
{
    const QList<QListWidgetItem*> selected = lstLearners->selectedItems();
    if (!selected.isEmpty())
        boxLearner->setText(selected.first()->text());
}

bool FrmLearner::SelectedKey(qint16& intKey) const
{
    const QList<QListWidgetItem*> selected = lstLearners->selectedItems();
    if (selected.isEmpty()) {
        ShowMessage(tr("You must select an item first."), MsgPlain);
        return false;
    }
    intKey = static_cast<qint16>(selected.first()->data(Qt::UserRole).toInt());
    return true;
}

void FrmLearner::OnOk()
{
    switch (intAction) {
    case ActionSelect:
        SelectLearner();
        break;
    case ActionCreate:
        CreateLearner();
        break;
    case ActionEdit:
        EditLearner();
        break;
    case ActionDelete:
        DeleteLearner();
        break;
    default:
        break;
    }
}

void FrmLearner::SelectLearner()
{
    qint16 key = 0;
    if (!SelectedKey(key))
        return;
    settings_.currLearnerKey = key;
    Save(true);
}

void FrmLearner::CreateLearner()
{
    const QString name = boxLearner->text();
    // Blanks alone would make a learner nobody can see in the list or the caption.
    if (name.trimmed().isEmpty()) {
        ShowMessage(tr("The name of a 'learner' cannot be '") + name + tr("'. please retry."), MsgPlain);
        return;
    }
    LearnerItems& learners = learners_;
    qint16 key = 0;
    QString message;
    if (!learners.AddNew(name, key, message)) {
        ShowMessage(message, MsgPlain);
        return;
    }
    if (learners.Count() == 1)
        settings_.currLearnerKey = key;
    Save(true);
}

void FrmLearner::EditLearner()
{
    qint16 key = 0;
    if (!SelectedKey(key))
        return;
    if (LearnerItem* learner = learners_.Item(QString::number(key)))
        learner->strName = boxLearner->text();
    boxLearner->clear();
    FillLearnerList();
    Save(false);
}

void FrmLearner::DeleteLearner()
{
    qint16 key = 0;
    if (!SelectedKey(key))
        return;
    LearnerItems& learners = learners_;
    const QString keyText = QString::number(key);
    const LearnerItem* learner = learners.Item(keyText);
    if (!learner)
        return;
    QString question = tr("Are you sure you want to delete the learner '") + learner->strName + tr("'.");
    if (practice_)
        question += QLatin1Char(' ') + tr("Their practice answers are deleted with them.");
    if (ShowMessage(question, MsgOkCancel) != MsgOk)
        return;

    learners.Remove(keyText);
    boxLearner->clear();
    FillLearnerList();
    QString message;
    if (!scores_.RemoveScoresOfLearner(key, message))
        ShowMessage(DatabaseProblemMessage(message), MsgPlain);
    if (practice_)
        practice_->DeleteLearner(key);
    Save(false);
}

bool FrmLearner::Save(bool closeAfter)
{
    QString message;
    if (!learners_.SetDataToFile(message)) {
        ShowMessage(message, MsgPlain);
        return false;
    }
    if (closeAfter)
        accept();
    return true;
}
