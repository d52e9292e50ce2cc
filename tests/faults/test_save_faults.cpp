// A full disk or a vanished data folder: the file is named and what was stored is kept.
#include "FaultFixture.h"

namespace {

const QByteArray kLearners = "<RECORD key = '1' name = 'Ann'></RECORD>\r\n";
const QByteArray kScores = "<RECORD key = '1' learnerKey = '1' lessonKey = '1' value = '0.875'></RECORD>\r\n"
                           "<RECORD key = '2' learnerKey = '1' lessonKey = '2' value = '0.5'></RECORD>\r\n";

class SaveFaults : public FaultTest {
protected:
    void SetUp() override
    {
        WriteBytes(LearnersPath(), kLearners);
        WriteBytes(ScoresPath(), kScores);
        StoreSetting(QStringLiteral("CurrLearnerKey"), QStringLiteral("1"));
    }

    // The end of a timed test, answered "Yes, store it", then "no new test".
    void FinishATest()
    {
        recorder.answers = {MsgOk, MsgYes, MsgCancel};
        window->Test().ArmTest();
        window->Test().FretboardPressed();
        for (int second = 0; second < window->GetSettings().testDuration; ++second)
            window->Test().Tick();
        recorder.answers.clear();
    }
};

} // namespace

TEST_F(SaveFaults, AFullDiskKeepsTheOldScoresAndTheNewScoreInMemory)
{
    ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready) << recorder.allMessages().toStdString();
    {
        const FileSizeLimit full(20);
        FinishATest();
        EXPECT_TRUE(HasMessageNaming(ScoresPath())) << recorder.allMessages().toStdString();
        EXPECT_EQ(ReadBytes(ScoresPath()), kScores);
        EXPECT_EQ(window->Scores().Count(), 3) << "the new score waits in memory";

        recorder.shown.clear();
        window->close();
        EXPECT_TRUE(HasMessageNaming(ScoresPath())) << recorder.allMessages().toStdString();
        EXPECT_EQ(ReadBytes(ScoresPath()), kScores);
        EXPECT_EQ(ReadBytes(LearnersPath()), kLearners);
    }
    // Room again: the next save writes the old scores and the new one.
    QString message;
    ASSERT_TRUE(window->Scores().SetDataToFile(message)) << message.toStdString();
    DbaseItems reread(ScoresPath());
    ASSERT_TRUE(reread.GetDataFromFile(message));
    EXPECT_EQ(reread.Count(), 3);
    EXPECT_EQ(reread.Item(QStringLiteral("1")).fltValue, 0.875F);
    // The practice file and its journal live there too; nothing else may.
    QStringList left = QDir(dir.path()).entryList(QDir::Files);
    left.removeIf([](const QString& name) { return name.startsWith(QStringLiteral("Practice.sqlite")); });
    EXPECT_EQ(left, QStringList({QStringLiteral("Learners.dat"), QStringLiteral("Score.dat")}))
        << "no temporary files left";
    window.reset();
}

TEST_F(SaveFaults, AFullDiskKeepsTheStoredSettings)
{
    StoreSetting(QStringLiteral("TestDuration"), QStringLiteral("45"));
    const QString settingsFile = SettingsStore::FileName();
    ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready);
    const QByteArray before = ReadBytes(settingsFile);
    window->GetSettings().testDuration = 60;
    window->GetSettings().flatSymbolPref = false;
    {
        const FileSizeLimit full(20);
        window->close();
    }
    EXPECT_TRUE(HasMessageNaming(settingsFile)) << recorder.allMessages().toStdString();
    // Read without a QSettings: the next one made would write what is still pending.
    EXPECT_EQ(ReadBytes(settingsFile), before);
    window.reset();
}

TEST_F(SaveFaults, ADataFolderReplacedByAFileFailsTheSaveWithAMessage)
{
    const QString folder = dir.path();
    ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready);
    // Moved away while the program runs (a sync tool, a user tidying up).
    const QString moved = folder + QStringLiteral("-moved");
    ASSERT_TRUE(QDir().rename(folder, moved));
    WriteBytes(folder, "a file where the folder was");
    FinishATest();
    EXPECT_TRUE(HasMessageNaming(ScoresPath())) << recorder.allMessages().toStdString();
    recorder.shown.clear();
    Exit();
    EXPECT_TRUE(HasMessageNaming(ScoresPath())) << recorder.allMessages().toStdString();
    EXPECT_EQ(ReadBytes(folder), QByteArray("a file where the folder was"));
    EXPECT_EQ(ReadBytes(moved + QStringLiteral("/Score.dat")), kScores);
    QFile::remove(folder);
    QDir().rename(moved, folder);
}
