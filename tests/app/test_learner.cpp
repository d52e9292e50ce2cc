// The learner dialog on its own, on files of the test's own.
#include "app/AppFixture.h"

#include "app/FrmLearner.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <memory>

namespace {

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
        QTest::mouseClick(dialog->lstLearners->viewport(), Qt::LeftButton, {},
                          dialog->lstLearners->visualItemRect(found.first()).center());
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
        d.btnOk->click();
        ASSERT_EQ(recorder.shown.size(), 1U);
        EXPECT_EQ(recorder.lastMessage(), QStringLiteral("You must select an item first."));
        EXPECT_TRUE(d.isVisible()) << "the dialog stays open";
    }
    EXPECT_EQ(settings.currLearnerKey, -1);
    EXPECT_FALSE(QFile::exists(LearnersPath()));
}

TEST_F(LearnerDialog, ANameIsNeededAndOnlyTheFirstLearnerBecomesCurrent)
{
    FrmLearner& blank = Open(FrmLearner::ActionCreate);
    blank.btnOk->click();
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("The name of a 'learner' cannot be ''. please retry."));
    blank.boxLearner->setText(QStringLiteral("  "));
    blank.btnOk->click();
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("The name of a 'learner' cannot be '  '. please retry."));
    EXPECT_TRUE(blank.isVisible());
    EXPECT_FALSE(QFile::exists(LearnersPath()));
    recorder.shown.clear();

    FrmLearner& first = Open(FrmLearner::ActionCreate);
    QTest::keyClicks(first.boxLearner, QStringLiteral("Anna"));
    QTest::keyClick(first.boxLearner, Qt::Key_Return);
    EXPECT_FALSE(first.isVisible());
    EXPECT_EQ(settings.currLearnerKey, 1);
    FrmLearner& second = Open(FrmLearner::ActionCreate);
    QTest::keyClicks(second.boxLearner, QStringLiteral("Ben"));
    second.btnOk->click();
    EXPECT_EQ(settings.currLearnerKey, 1);
    EXPECT_EQ(OnDisk(), (QStringList{QStringLiteral("1:Anna"), QStringLiteral("2:Ben")}));
    EXPECT_TRUE(recorder.shown.empty()) << recorder.lastMessage().toStdString();
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

    Open(FrmLearner::ActionSelect);
    Choose(QStringLiteral("Anna"));
    dialog->btnCancel->click();
    EXPECT_EQ(settings.currLearnerKey, 3) << "Cancel leaves the current learner alone";

    Open(FrmLearner::ActionSelect);
    Choose(QStringLiteral("Ben"));
    const QListWidgetItem* ben = dialog->lstLearners->currentItem();
    QTest::mouseDClick(dialog->lstLearners->viewport(), Qt::LeftButton, {},
                       dialog->lstLearners->visualItemRect(ben).center());
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
    EXPECT_EQ(Listed(), (QStringList{QStringLiteral("Anna"), QStringLiteral("Benjamin")}));
    EXPECT_EQ(d.lstLearners->selectedItems().first()->text(), QStringLiteral("Anna")) << "back on the current one";
    Choose(QStringLiteral("Anna"));
    d.boxLearner->clear();
    d.btnOk->click();
    EXPECT_EQ(OnDisk(), (QStringList{QStringLiteral("1:"), QStringLiteral("2:Benjamin")})) << "an empty name is taken";
    EXPECT_TRUE(recorder.shown.empty()) << recorder.lastMessage().toStdString();
}

TEST_F(LearnerDialog, DeletingAsksThenRemovesOnlyThatLearnersResultsOnDisk)
{
    FileLearners({QStringLiteral("Anna"), QStringLiteral("Ben"), QStringLiteral("Cleo")});
    AddScore(1, 1, 0.5F);
    AddScore(2, 1, 0.75F);
    AddScore(3, 2, 1.0F);
    AddScore(2, 3, 0.25F);
    settings.currLearnerKey = 2;
    FrmLearner& d = Open(FrmLearner::ActionDelete);
    recorder.answers = {MsgCancel};
    d.btnOk->click(); // the current learner is preselected
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Are you sure you want to delete the learner 'Ben'."));
    EXPECT_EQ(recorder.shown.back().style, int(MsgOkCancel));
    EXPECT_EQ(OnDisk().size(), 3) << "cancelled";
    EXPECT_EQ(ScoreOwnersOnDisk(), (std::vector<int>{1, 2, 3, 2}));

    Choose(QStringLiteral("Ben"));
    d.btnOk->click();
    EXPECT_TRUE(d.isVisible()) << "open for more deletions";
    EXPECT_EQ(Listed(), (QStringList{QStringLiteral("Anna"), QStringLiteral("Cleo")}));
    EXPECT_EQ(OnDisk(), (QStringList{QStringLiteral("1:Anna"), QStringLiteral("3:Cleo")}));
    EXPECT_EQ(ScoreOwnersOnDisk(), (std::vector<int>{1, 3}));

    // Then the last two; no file is left.
    Choose(QStringLiteral("Anna"));
    d.btnOk->click();
    Choose(QStringLiteral("Cleo"));
    d.btnOk->click();
    EXPECT_EQ(d.lstLearners->count(), 0);
    EXPECT_FALSE(QFile::exists(LearnersPath()));
    EXPECT_TRUE(ScoreOwnersOnDisk().empty());
}

TEST_F(LearnerDialog, AFailedSaveKeepsTheDialogOpen)
{
    // A file where the folder should be: the store reads as empty but cannot be written.
    ASSERT_TRUE(QFile(dir.filePath(QStringLiteral("blocked"))).open(QIODevice::WriteOnly));
    learners = LearnerItems(dir.filePath(QStringLiteral("blocked/Learners.dat")));
    FrmLearner& d = Open(FrmLearner::ActionCreate);
    d.boxLearner->setText(QStringLiteral("Anna"));
    d.btnOk->click();
    ASSERT_EQ(recorder.shown.size(), 1U);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(learners.Count(), 1) << "the change stays in memory";
}
