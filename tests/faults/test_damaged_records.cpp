// Damaged learner and score files at start-up: the program names the file, ends, and
// leaves both files exactly as they were.
#include "FaultFixture.h"

#include <QRandomGenerator>

namespace {

const QByteArray kLearners = "<RECORD key = '1' name = 'Ann'></RECORD>\r\n"
                             "<RECORD key = '2' name = 'Evening group'></RECORD>\r\n"
                             "<RECORD key = '7' name = 'Zo\xC3\xAB'></RECORD>\r\n";
const QByteArray kScores = "<RECORD key = '1' learnerKey = '1' lessonKey = '1' value = '0.875'></RECORD>\r\n"
                           "<RECORD key = '2' learnerKey = '2' lessonKey = '3' value = '0.5'></RECORD>\r\n";

struct Damage {
    const char* what;
    QByteArray bytes;
};

QByteArray RandomBytes(quint32 seed, int size)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random.bounded(256));
    return bytes;
}

// Damage that any record file can suffer; record gives one well-formed line to build on
// ("%1" stands for its key).
std::vector<Damage> CommonDamage(const QByteArray& valid, const QString& record)
{
    const auto line = [&record](const QString& key) { return record.arg(key).toUtf8(); };
    QByteArray manyRecords;
    for (int i = 0; i < 40000; ++i) // more records than there are keys
        manyRecords += line(QString::number(i % 32767 + 1)) + "\r\n";
    return {
        {"cut inside the last record", valid.left(valid.size() - 9)},
        {"cut inside a value", valid.left(valid.indexOf("'") + 2)},
        {"cut after the tag", valid.left(8)},
        {"binary garbage", RandomBytes(1, 4096)},
        {"garbage behind good records", valid + RandomBytes(2, 300)},
        {"NUL bytes inside a record", valid.left(20) + QByteArray(16, '\0') + valid.mid(20)},
        {"an ELF header", QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0", 16) + RandomBytes(3, 200)},
        {"the same key twice", line(QStringLiteral("3")) + "\r\n" + line(QStringLiteral("3")) + "\r\n"},
        {"the same key spelled twice", line(QStringLiteral("3")) + "\r\n" + line(QStringLiteral("003")) + "\r\n"},
        {"key 0", line(QStringLiteral("0"))},
        {"a negative key", line(QStringLiteral("-4"))},
        {"key past 16 bits", line(QStringLiteral("32768"))},
        {"a huge key", line(QStringLiteral("99999999999999999999999"))},
        {"a key that is no number", line(QStringLiteral("seven"))},
        {"a fractional key", line(QStringLiteral("2.5"))},
        {"an empty key", line(QString())},
        {"more records than keys", manyRecords},
        // Just under the size the reader takes at all.
        {"nothing but end tags", QByteArray("</RECORD>").repeated(7000000)},
        {"one record of a million attributes", "<RECORD " + QByteArray("a = 'x' ").repeated(1000000) + "></RECORD>"},
    };
}

class DamagedRecords : public FaultTest {
protected:
    // Starts on the damaged file and checks the outcome. The other file is good.
    void StartOn(const QString& damagedPath, const QString& goodPath, const QByteArray& good, const Damage& damage)
    {
        SCOPED_TRACE(damage.what);
        recorder.shown.clear();
        WriteBytes(goodPath, good);
        WriteBytes(damagedPath, damage.bytes);

        EXPECT_EQ(Launch(), FrmStartup::LoadResult::EndProgram);
        ASSERT_EQ(recorder.shown.size(), 1u) << AllMessages().toStdString();
        EXPECT_TRUE(recorder.lastMessage().contains(damagedPath)) << recorder.lastMessage().toStdString();
        EXPECT_TRUE(window->EndRequested());
        Exit();

        EXPECT_TRUE(ReadBytes(damagedPath) == damage.bytes) << "the damaged file was changed";
        EXPECT_EQ(ReadBytes(goodPath), good);
    }
};

} // namespace

TEST_F(DamagedRecords, ADamagedLearnerFileEndsTheStartAndIsKept)
{
    auto damage = CommonDamage(kLearners, QStringLiteral("<RECORD key = '%1' name = 'A'></RECORD>"));
    damage.push_back({"a learner without a name", "<RECORD key = '1'></RECORD>\r\n"});
    damage.push_back({"a name given twice", "<RECORD key = '1' name = 'A' NAME = 'B'></RECORD>\r\n"});
    for (const Damage& d : damage)
        StartOn(LearnersPath(), ScoresPath(), kScores, d);
}

TEST_F(DamagedRecords, ADamagedScoreFileEndsTheStartAndIsKept)
{
    auto damage = CommonDamage(
        kScores, QStringLiteral("<RECORD key = '%1' learnerKey = '1' lessonKey = '1' value = '0.5'></RECORD>"));
    const QString record = QStringLiteral("<RECORD key = '1' learnerKey = '%1' lessonKey = '%2' value = '%3'></RECORD>");
    const auto score = [&record](const char* learner, const char* lesson, const char* value) {
        return record.arg(QLatin1String(learner), QLatin1String(lesson), QLatin1String(value)).toUtf8();
    };
    damage.push_back({"a learner key past 16 bits", score("40000", "1", "0.5")});
    damage.push_back({"a lesson key that is no number", score("1", "x", "0.5")});
    damage.push_back({"an infinite value", score("1", "1", "1e39")});
    damage.push_back({"a value that is no number", score("1", "1", "nan")});
    damage.push_back({"no value", "<RECORD key = '1' learnerKey = '1' lessonKey = '1'></RECORD>"});
    for (const Damage& d : damage)
        StartOn(ScoresPath(), LearnersPath(), kLearners, d);
}

// A file cut at any byte either loads exactly the records that are whole or is
// refused; a record cut short is never read as a shorter one.
TEST_F(DamagedRecords, AFileCutAtAnyByteLosesNoRecordSilently)
{
    for (qsizetype cut = 0; cut < kLearners.size(); ++cut) {
        SCOPED_TRACE(cut);
        const QByteArray prefix = kLearners.left(cut);
        WriteBytes(LearnersPath(), prefix);
        LearnerItems learners(LearnersPath());
        QString message;
        if (learners.GetDataFromFile(message))
            EXPECT_EQ(learners.Count(), prefix.count("</RECORD>"));
        else
            EXPECT_TRUE(message.contains(LearnersPath())) << message.toStdString();
    }
    for (qsizetype cut = 0; cut < kScores.size(); ++cut) {
        SCOPED_TRACE(cut);
        const QByteArray prefix = kScores.left(cut);
        WriteBytes(ScoresPath(), prefix);
        DbaseItems scores(ScoresPath());
        QString message;
        if (scores.GetDataFromFile(message)) {
            ASSERT_EQ(scores.Count(), prefix.count("</RECORD>"));
            for (const DbaseItem& item : scores)
                EXPECT_TRUE(item.fltValue == 0.875F || item.fltValue == 0.5F) << "a value cut short";
        } else {
            EXPECT_TRUE(message.contains(ScoresPath())) << message.toStdString();
        }
    }
}

TEST_F(DamagedRecords, AHugeFileIsRefusedWithoutReadingIt)
{
    for (const QString& path : {LearnersPath(), ScoresPath()}) {
        SCOPED_TRACE(path.toStdString());
        QFile::remove(LearnersPath());
        QFile::remove(ScoresPath());
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_TRUE(file.resize(qint64(3) << 30)); // sparse: costs no disk
        }
        recorder.shown.clear();
        EXPECT_EQ(Launch(), FrmStartup::LoadResult::EndProgram);
        ASSERT_EQ(recorder.shown.size(), 1u) << AllMessages().toStdString();
        EXPECT_TRUE(recorder.lastMessage().contains(path));
        EXPECT_TRUE(recorder.lastMessage().contains(QStringLiteral("too large"))) << recorder.lastMessage().toStdString();
        Exit();
        EXPECT_EQ(QFileInfo(path).size(), qint64(3) << 30);
        QFile::remove(path);
    }
}

// Records the program does not expect but can read: keys of learners and lessons that
// do not exist, scores outside 0..1, a current learner that is gone, a folder where the
// file should be.
TEST_F(DamagedRecords, ReadableButUnexpectedRecordsDoNotUpsetTheWindow)
{
    WriteBytes(LearnersPath(), kLearners);
    const QByteArray odd = "<RECORD key = '1' learnerKey = '-32768' lessonKey = '99' value = '-3.5'></RECORD>\r\n"
                           "<RECORD key = '32767' learnerKey = '9' lessonKey = '0' value = '250'></RECORD>\r\n";
    WriteBytes(ScoresPath(), odd);
    StoreSetting(QStringLiteral("CurrLearnerKey"), QStringLiteral("31000"));
    ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready) << AllMessages().toStdString();
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

    QFile::remove(ScoresPath());
    ASSERT_TRUE(QDir().mkpath(ScoresPath()));
    recorder.shown.clear();
    EXPECT_EQ(Launch(), FrmStartup::LoadResult::EndProgram);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_TRUE(recorder.lastMessage().contains(ScoresPath())) << recorder.lastMessage().toStdString();
    Exit();
    EXPECT_TRUE(QFileInfo(ScoresPath()).isDir());
}
