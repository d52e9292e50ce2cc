// Damaged learner and score files at start-up: named once, the start ends, both files kept.
#include "FaultFixture.h"

namespace {

const QByteArray kLearners = "<RECORD key = '1' name = 'Ann'></RECORD>\r\n"
                             "<RECORD key = '2' name = 'Evening group'></RECORD>\r\n";
const QByteArray kScores = "<RECORD key = '1' learnerKey = '1' lessonKey = '1' value = '0.875'></RECORD>\r\n";

using DamagedRecords = FaultTest;

} // namespace

TEST_F(DamagedRecords, ADamagedFileEndsTheStartAndIsKept)
{
    const auto startOn = [this](const QString& damaged, const QString& good, const QByteArray& goodBytes) {
        SCOPED_TRACE(damaged.toStdString());
        recorder.shown.clear();
        WriteBytes(good, goodBytes);
        const QByteArray damagedBytes = ReadBytes(damaged);
        EXPECT_EQ(Launch(), FrmStartup::LoadResult::EndProgram);
        EXPECT_TRUE(window->EndRequested());
        Exit();
        ASSERT_EQ(recorder.shown.size(), 1u) << "nothing more at exit: " << recorder.allMessages().toStdString();
        EXPECT_TRUE(recorder.lastMessage().contains(damaged)) << recorder.lastMessage().toStdString();
        EXPECT_EQ(ReadBytes(damaged), damagedBytes);
        EXPECT_EQ(ReadBytes(good), goodBytes);
    };
    WriteBytes(LearnersPath(), kLearners.left(kLearners.size() - 9)); // cut inside the last record
    startOn(LearnersPath(), ScoresPath(), kScores);
    WriteBytes(ScoresPath(), "<RECORD key = '1' learnerKey = '1' lessonKey = '1' value = 'nan'></RECORD>\r\n");
    startOn(ScoresPath(), LearnersPath(), kLearners);
    // A folder where the file should be.
    QFile::remove(ScoresPath());
    ASSERT_TRUE(QDir().mkpath(ScoresPath()));
    startOn(ScoresPath(), LearnersPath(), kLearners);
    EXPECT_TRUE(QFileInfo(ScoresPath()).isDir());
}

// Readable records with keys that name nothing, scores outside 0..1, a learner gone.
TEST_F(DamagedRecords, ReadableButUnexpectedRecordsDoNotUpsetTheWindow)
{
    WriteBytes(LearnersPath(), kLearners);
    const QByteArray odd = "<RECORD key = '1' learnerKey = '-32768' lessonKey = '99' value = '-3.5'></RECORD>\r\n"
                           "<RECORD key = '32767' learnerKey = '9' lessonKey = '0' value = '250'></RECORD>\r\n";
    WriteBytes(ScoresPath(), odd);
    StoreSetting(QStringLiteral("CurrLearnerKey"), QStringLiteral("31000"));
    ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready) << recorder.allMessages().toStdString();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Fretlore")) << "a learner who is gone is not shown";
    EXPECT_EQ(window->GetSettings().currLearnerKey, -1);
    EXPECT_EQ(window->Scores().Count(), 2);
    // The highest key is taken: a new score has nowhere to go, and says so.
    qint16 key = 0;
    QString message;
    EXPECT_FALSE(window->Scores().AddScore(1, 1, 0.5F, key, message));
    EXPECT_FALSE(message.isEmpty());
    Exit();
    EXPECT_EQ(ReadBytes(ScoresPath()), odd) << "written back as read";
    EXPECT_EQ(ReadBytes(LearnersPath()), kLearners);
}
