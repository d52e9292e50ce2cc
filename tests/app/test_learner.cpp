#include "TemporaryStores.h"
#include "TestSupport.h"
#include "app/ScoreTestSupport.h"

#include "app/FrmLearner.h"
#include "records/DbaseItems.h"
#include "records/LearnerItems.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString NoSelection = QStringLiteral("You must select an item first.");

class LearnerDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadDefaultSettings();
        ASSERT_TRUE(stores.IsValid());
        ASSERT_TRUE(GetDbaseItems().GetDataFromFile(message));
    }

    QString LearnersPath() const { return stores.FilePath(QStringLiteral("Learners.dat")); }
    QString ScoresPath() const { return stores.FilePath(QStringLiteral("Score.dat")); }

    // Files learners straight into Learners.dat, keys from 1.
    void FileLearners(const QStringList& names)
    {
        LearnerItems learners(LearnersPath());
        ASSERT_TRUE(learners.GetDataFromFile(message));
        for (const QString& name : names) {
            qint16 key = 0;
            ASSERT_TRUE(learners.AddNew(name, key, message));
        }
        ASSERT_TRUE(learners.SetDataToFile(message));
    }

    // Adds results to the score store in memory and on disk.
    void FileScore(qint16 learnerKey, qint16 lessonKey, float value)
    {
        qint16 key = 0;
        ASSERT_TRUE(GetDbaseItems().AddScore(learnerKey, lessonKey, value, key, message));
    }

    frmLearner& Open(qint32 action)
    {
        dialog = std::make_unique<frmLearner>();
        dialog->intAction = action;
        EXPECT_TRUE(dialog->Load());
        dialog->show();
        return *dialog;
    }

    void Choose(const QString& name)
    {
        const QList<QListWidgetItem*> found = dialog->lstLearners->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        const QRect cell = dialog->lstLearners->visualItemRect(found.first());
        QTest::mouseClick(dialog->lstLearners->viewport(), Qt::LeftButton, {}, cell.center());
    }

    QStringList Listed() const
    {
        QStringList names;
        for (int i = 0; i < dialog->lstLearners->count(); ++i)
            names << dialog->lstLearners->item(i)->text();
        return names;
    }

    // The learners as a fresh load of the file sees them: "key:name".
    QStringList OnDisk() const
    {
        LearnerItems learners(LearnersPath());
        QString problem;
        EXPECT_TRUE(learners.GetDataFromFile(problem)) << problem.toStdString();
        QStringList saved;
        for (const LearnerItem& learner : learners)
            saved << QString::number(learner.intKey) + QLatin1Char(':') + learner.strName;
        return saved;
    }

    std::vector<int> ScoreOwnersOnDisk() const { return ::ScoreOwnersOnDisk(ScoresPath()); }

    TemporaryStores stores;
    QString message;
    MessageRecorder recorder;
    std::unique_ptr<frmLearner> dialog;
};

} // namespace

TEST_F(LearnerDialog, EachActionHasItsInstructionAndControls)
{
    FileLearners({QStringLiteral("Anna"), QStringLiteral("Ben")});
    CurrLearnerKey = 2;
    struct Expected {
        qint32 action;
        const char* text;
        bool listEnabled;
        bool boxEnabled;
        const char* box;
    };
    for (const Expected& e : {Expected{0, "Select the learner from the list.", true, false, "Ben"},
                              Expected{1, "Type the new learner name here.", false, true, ""},
                              Expected{2, "Select the learner to edit from the list and modify its value.", true, true,
                                       "Ben"},
                              Expected{3, "Select the learner to delete from the list.", true, false, "Ben"}}) {
        SCOPED_TRACE(e.action);
        frmLearner& d = Open(e.action);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Learner management"));
        EXPECT_EQ(d.txtMessage->text(), QString::fromUtf8(e.text));
        EXPECT_EQ(d.lstLearners->isEnabled(), e.listEnabled);
        EXPECT_EQ(d.boxLearner->isEnabled(), e.boxEnabled);
        EXPECT_EQ(d.boxLearner->text(), QString::fromUtf8(e.box));
        EXPECT_EQ(Listed(), (QStringList{QStringLiteral("Anna"), QStringLiteral("Ben")}));
        ASSERT_EQ(d.lstLearners->selectedItems().size(), 1);
        EXPECT_EQ(d.lstLearners->selectedItems().first()->text(), QStringLiteral("Ben")) << "the current learner";
    }
}

TEST_F(LearnerDialog, WithNoLearnersSelectEditAndDeleteAskForASelection)
{
    for (const qint32 action : {frmLearner::ActionSelect, frmLearner::ActionEdit, frmLearner::ActionDelete}) {
        SCOPED_TRACE(action);
        recorder.shown.clear();
        frmLearner& d = Open(action);
        EXPECT_EQ(d.lstLearners->count(), 0);
        d.btnOk->click();
        ASSERT_EQ(recorder.shown.size(), 1U);
        EXPECT_EQ(recorder.lastMessage(), NoSelection);
        EXPECT_EQ(recorder.shown.back().style, int(MsgOkOnly));
        EXPECT_TRUE(d.isVisible()) << "the dialog stays open";
        EXPECT_EQ(d.result(), int(QDialog::Rejected));
    }
    EXPECT_EQ(CurrLearnerKey, -1);
    EXPECT_FALSE(QFile::exists(LearnersPath()));
}

TEST_F(LearnerDialog, TheFirstLearnerBecomesCurrentAndTheSecondDoesNot)
{
    frmLearner& first = Open(frmLearner::ActionCreate);
    QTest::keyClicks(first.boxLearner, QStringLiteral("Anna"));
    QTest::keyClick(first.boxLearner, Qt::Key_Return);
    EXPECT_EQ(first.result(), int(QDialog::Accepted));
    EXPECT_FALSE(first.isVisible());
    EXPECT_EQ(CurrLearnerKey, 1);
    EXPECT_EQ(OnDisk(), QStringList{QStringLiteral("1:Anna")});

    frmLearner& second = Open(frmLearner::ActionCreate);
    EXPECT_TRUE(second.boxLearner->text().isEmpty()) << "a new name starts empty";
    QTest::keyClicks(second.boxLearner, QStringLiteral("Ben"));
    second.btnOk->click();
    EXPECT_EQ(second.result(), int(QDialog::Accepted));
    EXPECT_EQ(CurrLearnerKey, 1);
    EXPECT_EQ(OnDisk(), (QStringList{QStringLiteral("1:Anna"), QStringLiteral("2:Ben")}));
    EXPECT_TRUE(recorder.shown.empty()) << recorder.lastMessage().toStdString();
}

TEST_F(LearnerDialog, AnEmptyOrBlankNameCreatesNothing)
{
    frmLearner& d = Open(frmLearner::ActionCreate);
    d.btnOk->click();
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("The name of a 'learner' cannot be ''. please retry."));
    d.boxLearner->setText(QStringLiteral("  "));
    d.btnOk->click();
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("The name of a 'learner' cannot be '  '. please retry."));
    EXPECT_EQ(recorder.shown.size(), 2U);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(GetLearnerItems().Count(), 0);
    EXPECT_EQ(CurrLearnerKey, -1);
    EXPECT_FALSE(QFile::exists(LearnersPath()));
}

TEST_F(LearnerDialog, SelectingMakesTheChosenLearnerCurrent)
{
    FileLearners({QStringLiteral("Anna"), QStringLiteral("Ben"), QStringLiteral("Cleo")});
    CurrLearnerKey = 1;
    frmLearner& d = Open(frmLearner::ActionSelect);
    Choose(QStringLiteral("Cleo"));
    EXPECT_EQ(d.boxLearner->text(), QStringLiteral("Cleo")) << "a click copies the name";
    d.btnOk->click();
    EXPECT_EQ(CurrLearnerKey, 3);
    EXPECT_EQ(d.result(), int(QDialog::Accepted));

    // Cancel leaves the current learner alone.
    Open(frmLearner::ActionSelect);
    Choose(QStringLiteral("Anna"));
    dialog->btnCancel->click();
    EXPECT_EQ(dialog->result(), int(QDialog::Rejected));
    EXPECT_EQ(CurrLearnerKey, 3);

    Open(frmLearner::ActionSelect);
    const QListWidgetItem* ben = dialog->lstLearners->findItems(QStringLiteral("Ben"), Qt::MatchExactly).first();
    const QPoint at = dialog->lstLearners->visualItemRect(ben).center();
    QTest::mouseClick(dialog->lstLearners->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dialog->lstLearners->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(CurrLearnerKey, 2) << "a double-click acts as OK";
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(LearnerDialog, RenamingSavesAndKeepsTheDialogOpen)
{
    FileLearners({QStringLiteral("Anna"), QStringLiteral("Ben")});
    CurrLearnerKey = 1;
    frmLearner& d = Open(frmLearner::ActionEdit);
    Choose(QStringLiteral("Ben"));
    d.boxLearner->setText(QStringLiteral("Benjamin"));
    d.btnOk->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(OnDisk(), (QStringList{QStringLiteral("1:Anna"), QStringLiteral("2:Benjamin")}));
    EXPECT_EQ(Listed(), (QStringList{QStringLiteral("Anna"), QStringLiteral("Benjamin")}));
    EXPECT_EQ(d.lstLearners->selectedItems().first()->text(), QStringLiteral("Anna")) << "back on the current one";

    // An empty name is accepted.
    Choose(QStringLiteral("Anna"));
    d.boxLearner->clear();
    d.btnOk->click();
    EXPECT_EQ(OnDisk(), (QStringList{QStringLiteral("1:"), QStringLiteral("2:Benjamin")}));
    EXPECT_TRUE(recorder.shown.empty()) << recorder.lastMessage().toStdString();
    EXPECT_EQ(CurrLearnerKey, 1);
}

TEST_F(LearnerDialog, CancelledDeleteKeepsTheLearnerAndResults)
{
    FileLearners({QStringLiteral("Anna"), QStringLiteral("Ben")});
    FileScore(2, 1, 0.5F);
    CurrLearnerKey = 1;
    frmLearner& d = Open(frmLearner::ActionDelete);
    Choose(QStringLiteral("Ben"));
    recorder.answers.push_back(MsgCancel);
    d.btnOk->click();
    ASSERT_EQ(recorder.shown.size(), 1U);
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Are you sure you want to delete the learner 'Ben'."));
    EXPECT_EQ(recorder.shown.back().style, int(MsgOkCancel));
    EXPECT_EQ(Listed(), (QStringList{QStringLiteral("Anna"), QStringLiteral("Ben")}));
    EXPECT_EQ(OnDisk(), (QStringList{QStringLiteral("1:Anna"), QStringLiteral("2:Ben")}));
    EXPECT_EQ(GetDbaseItems().Count(), 1);
    EXPECT_EQ(ScoreOwnersOnDisk(), std::vector<int>{2});
}

TEST_F(LearnerDialog, DeletingRemovesOnlyThatLearnersResultsOnDisk)
{
    FileLearners({QStringLiteral("Anna"), QStringLiteral("Ben"), QStringLiteral("Cleo")});
    FileScore(1, 1, 0.5F);
    FileScore(2, 1, 0.75F);
    FileScore(3, 2, 1.0F);
    FileScore(2, 3, 0.25F);
    CurrLearnerKey = 2;
    frmLearner& d = Open(frmLearner::ActionDelete);
    d.btnOk->click(); // the current learner is preselected
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Are you sure you want to delete the learner 'Ben'."));
    EXPECT_TRUE(d.isVisible()) << "open for more deletions";
    EXPECT_EQ(Listed(), (QStringList{QStringLiteral("Anna"), QStringLiteral("Cleo")}));
    EXPECT_TRUE(d.lstLearners->selectedItems().isEmpty());
    EXPECT_EQ(OnDisk(), (QStringList{QStringLiteral("1:Anna"), QStringLiteral("3:Cleo")}));
    EXPECT_EQ(ScoreOwnersOnDisk(), (std::vector<int>{1, 3}));
    EXPECT_EQ(CurrLearnerKey, 2) << "the caller's caption update clears it";

    // Then the last two; no file is left.
    Choose(QStringLiteral("Anna"));
    d.btnOk->click();
    Choose(QStringLiteral("Cleo"));
    d.btnOk->click();
    EXPECT_EQ(d.lstLearners->count(), 0);
    EXPECT_FALSE(QFile::exists(LearnersPath()));
    EXPECT_TRUE(ScoreOwnersOnDisk().empty());
}

TEST_F(LearnerDialog, AnUnreadableFileEndsTheDialogWithActionFour)
{
    QFile file(LearnersPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<RECORD key = '1'></RECORD>\r\n"); // no name
    file.close();
    frmLearner d;
    d.intAction = frmLearner::ActionCreate;
    EXPECT_EQ(d.exec(), int(QDialog::Rejected)); // returns without waiting for the user
    EXPECT_EQ(d.intAction, int(frmLearner::ActionNotLoaded));
    ASSERT_EQ(recorder.shown.size(), 1U);
    EXPECT_FALSE(recorder.lastMessage().isEmpty());
}

TEST_F(LearnerDialog, AFailedSaveKeepsTheDialogOpen)
{
    // A file where the folder should be: the store reads as empty but cannot be written.
    QFile blocker(stores.FilePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    GetLearnerItems() = LearnerItems(stores.FilePath(QStringLiteral("blocked/Learners.dat")));
    frmLearner& d = Open(frmLearner::ActionCreate);
    d.boxLearner->setText(QStringLiteral("Anna"));
    d.btnOk->click();
    ASSERT_EQ(recorder.shown.size(), 1U);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(GetLearnerItems().Count(), 1) << "the change stays in memory";
}
