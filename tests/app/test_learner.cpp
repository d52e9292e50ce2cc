#include "app/AppFixture.h"

#include "app/FrmLearner.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <memory>

namespace {

const QString NoSelection = QStringLiteral("You must select an item first.");

class LearnerDialog : public RecordsFixture {
protected:
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

    FrmLearner& Open(qint32 action)
    {
        dialog = std::make_unique<FrmLearner>(settings, learners, scores);
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

    std::unique_ptr<FrmLearner> dialog;
};

} // namespace

TEST_F(LearnerDialog, WithNoLearnersSelectEditAndDeleteAskForASelection)
{
    for (const qint32 action : {FrmLearner::ActionSelect, FrmLearner::ActionEdit, FrmLearner::ActionDelete}) {
        SCOPED_TRACE(action);
        recorder.shown.clear();
        FrmLearner& d = Open(action);
        EXPECT_EQ(d.lstLearners->count(), 0);
        d.btnOk->click();
        ASSERT_EQ(recorder.shown.size(), 1U);
        EXPECT_EQ(recorder.lastMessage(), NoSelection);
        EXPECT_EQ(recorder.shown.back().style, int(MsgOkOnly));
        EXPECT_TRUE(d.isVisible()) << "the dialog stays open";
        EXPECT_EQ(d.result(), int(QDialog::Rejected));
    }
    EXPECT_EQ(settings.currLearnerKey, -1);
    EXPECT_FALSE(QFile::exists(LearnersPath()));
}

TEST_F(LearnerDialog, TheFirstLearnerBecomesCurrentAndTheSecondDoesNot)
{
    FrmLearner& first = Open(FrmLearner::ActionCreate);
    QTest::keyClicks(first.boxLearner, QStringLiteral("Anna"));
    QTest::keyClick(first.boxLearner, Qt::Key_Return);
    EXPECT_EQ(first.result(), int(QDialog::Accepted));
    EXPECT_FALSE(first.isVisible());
    EXPECT_EQ(settings.currLearnerKey, 1);
    EXPECT_EQ(OnDisk(), QStringList{QStringLiteral("1:Anna")});

    FrmLearner& second = Open(FrmLearner::ActionCreate);
    EXPECT_TRUE(second.boxLearner->text().isEmpty()) << "a new name starts empty";
    QTest::keyClicks(second.boxLearner, QStringLiteral("Ben"));
    second.btnOk->click();
    EXPECT_EQ(second.result(), int(QDialog::Accepted));
    EXPECT_EQ(settings.currLearnerKey, 1);
    EXPECT_EQ(OnDisk(), (QStringList{QStringLiteral("1:Anna"), QStringLiteral("2:Ben")}));
    EXPECT_TRUE(recorder.shown.empty()) << recorder.lastMessage().toStdString();
}

TEST_F(LearnerDialog, AnEmptyOrBlankNameCreatesNothing)
{
    FrmLearner& d = Open(FrmLearner::ActionCreate);
    d.btnOk->click();
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("The name of a 'learner' cannot be ''. please retry."));
    d.boxLearner->setText(QStringLiteral("  "));
    d.btnOk->click();
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("The name of a 'learner' cannot be '  '. please retry."));
    EXPECT_EQ(recorder.shown.size(), 2U);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(learners.Count(), 0);
    EXPECT_EQ(settings.currLearnerKey, -1);
    EXPECT_FALSE(QFile::exists(LearnersPath()));
}

TEST_F(LearnerDialog, SelectingMakesTheChosenLearnerCurrent)
{
    FileLearners({QStringLiteral("Anna"), QStringLiteral("Ben"), QStringLiteral("Cleo")});
    settings.currLearnerKey = 1;
    FrmLearner& d = Open(FrmLearner::ActionSelect);
    Choose(QStringLiteral("Cleo"));
    EXPECT_EQ(d.boxLearner->text(), QStringLiteral("Cleo")) << "a click copies the name";
    d.btnOk->click();
    EXPECT_EQ(settings.currLearnerKey, 3);
    EXPECT_EQ(d.result(), int(QDialog::Accepted));

    // Cancel leaves the current learner alone.
    Open(FrmLearner::ActionSelect);
    Choose(QStringLiteral("Anna"));
    dialog->btnCancel->click();
    EXPECT_EQ(dialog->result(), int(QDialog::Rejected));
    EXPECT_EQ(settings.currLearnerKey, 3);

    Open(FrmLearner::ActionSelect);
    const QListWidgetItem* ben = dialog->lstLearners->findItems(QStringLiteral("Ben"), Qt::MatchExactly).first();
    const QPoint at = dialog->lstLearners->visualItemRect(ben).center();
    QTest::mouseClick(dialog->lstLearners->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dialog->lstLearners->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(settings.currLearnerKey, 2) << "a double-click acts as OK";
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(LearnerDialog, RenamingSavesAndKeepsTheDialogOpen)
{
    FileLearners({QStringLiteral("Anna"), QStringLiteral("Ben")});
    settings.currLearnerKey = 1;
    FrmLearner& d = Open(FrmLearner::ActionEdit);
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
    EXPECT_EQ(settings.currLearnerKey, 1);
}

TEST_F(LearnerDialog, CancelledDeleteKeepsTheLearnerAndResults)
{
    FileLearners({QStringLiteral("Anna"), QStringLiteral("Ben")});
    AddScore(2, 1, 0.5F);
    settings.currLearnerKey = 1;
    FrmLearner& d = Open(FrmLearner::ActionDelete);
    Choose(QStringLiteral("Ben"));
    recorder.answers.push_back(MsgCancel);
    d.btnOk->click();
    ASSERT_EQ(recorder.shown.size(), 1U);
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Are you sure you want to delete the learner 'Ben'."));
    EXPECT_EQ(recorder.shown.back().style, int(MsgOkCancel));
    EXPECT_EQ(Listed(), (QStringList{QStringLiteral("Anna"), QStringLiteral("Ben")}));
    EXPECT_EQ(OnDisk(), (QStringList{QStringLiteral("1:Anna"), QStringLiteral("2:Ben")}));
    EXPECT_EQ(scores.Count(), 1);
    EXPECT_EQ(ScoreOwnersOnDisk(), std::vector<int>{2});
}

TEST_F(LearnerDialog, DeletingRemovesOnlyThatLearnersResultsOnDisk)
{
    FileLearners({QStringLiteral("Anna"), QStringLiteral("Ben"), QStringLiteral("Cleo")});
    AddScore(1, 1, 0.5F);
    AddScore(2, 1, 0.75F);
    AddScore(3, 2, 1.0F);
    AddScore(2, 3, 0.25F);
    settings.currLearnerKey = 2;
    FrmLearner& d = Open(FrmLearner::ActionDelete);
    d.btnOk->click(); // the current learner is preselected
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Are you sure you want to delete the learner 'Ben'."));
    EXPECT_TRUE(d.isVisible()) << "open for more deletions";
    EXPECT_EQ(Listed(), (QStringList{QStringLiteral("Anna"), QStringLiteral("Cleo")}));
    EXPECT_TRUE(d.lstLearners->selectedItems().isEmpty());
    EXPECT_EQ(OnDisk(), (QStringList{QStringLiteral("1:Anna"), QStringLiteral("3:Cleo")}));
    EXPECT_EQ(ScoreOwnersOnDisk(), (std::vector<int>{1, 3}));
    EXPECT_EQ(settings.currLearnerKey, 2) << "the caller's caption update clears it";

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
    FrmLearner d(settings, learners, scores);
    d.intAction = FrmLearner::ActionCreate;
    EXPECT_EQ(d.exec(), int(QDialog::Rejected)); // returns without waiting for the user
    EXPECT_EQ(d.intAction, int(FrmLearner::ActionNotLoaded));
    ASSERT_EQ(recorder.shown.size(), 1U);
    EXPECT_FALSE(recorder.lastMessage().isEmpty());
}

TEST_F(LearnerDialog, AFailedSaveKeepsTheDialogOpen)
{
    // A file where the folder should be: the store reads as empty but cannot be written.
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    learners = LearnerItems(dir.filePath(QStringLiteral("blocked/Learners.dat")));
    FrmLearner& d = Open(FrmLearner::ActionCreate);
    d.boxLearner->setText(QStringLiteral("Anna"));
    d.btnOk->click();
    ASSERT_EQ(recorder.shown.size(), 1U);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(learners.Count(), 1) << "the change stays in memory";
}
