// Pictures missing from or damaged in the installed data: the user is told which file,
// and the drill still works on a blank board.
#include "FaultFixture.h"

#include "core/Paths.h"

#include <QDirIterator>

namespace {

class MissingData : public FaultTest {
protected:
    void SetUp() override
    {
        // A copy of the program's data that each test may break.
        const QString source = ProgramDataDir();
        data = dir.filePath(QStringLiteral("data"));
        QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target = data + file.mid(source.size());
            QDir().mkpath(QFileInfo(target).path());
            ASSERT_TRUE(QFile::copy(file, target)) << target.toStdString();
        }
        SetProgramDataDir(data);
    }
    void TearDown() override
    {
        window.reset();
        SetProgramDataDir(QString());
    }

    QString Picture(const char* name) const { return data + QStringLiteral("/Images/") + QLatin1String(name); }
    void Remove(const char* name) const
    {
        QFile::remove(Picture(name));
        QFile::remove(QString(Picture(name)).replace(QStringLiteral("."), QStringLiteral("@2x.")));
    }

    // Starts, expects one message per named picture, and plays a note.
    void StartAndExpectMessagesFor(std::initializer_list<const char*> names)
    {
        ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready) << AllMessages().toStdString();
        ASSERT_EQ(recorder.shown.size(), names.size()) << AllMessages().toStdString();
        size_t i = 0;
        for (const char* name : names) {
            EXPECT_TRUE(recorder.shown[i].text.contains(Picture(name))) << recorder.shown[i].text.toStdString();
            ++i;
        }
        ASSERT_TRUE(AnswerRight());
        EXPECT_EQ(window->StatusPanelText(QString()), QStringLiteral("Correct! Now try the next note."));
        EXPECT_FALSE(midi.messages.empty()) << "the note still sounds";
        Exit();
    }

    QString data;
};

} // namespace

TEST_F(MissingData, AMissingFretboardPictureIsNamed)
{
    Remove("FretboardSimple.jpg");
    StartAndExpectMessagesFor({"FretboardSimple.jpg"});
}

TEST_F(MissingData, AMissingStaffPictureIsNamed)
{
    Remove("Sheet.jpg");
    StartAndExpectMessagesFor({"Sheet.jpg"});
}

TEST_F(MissingData, AMissingBassPictureIsNamed)
{
    StoreSetting(QStringLiteral("GuitarType"), QStringLiteral("2"));
    StoreSetting(QStringLiteral("FretboardStyle"), QStringLiteral("1"));
    Remove("FretboardSimpleBassFive.jpg");
    Remove("SheetBass.jpg");
    StartAndExpectMessagesFor({"FretboardSimpleBassFive.jpg", "SheetBass.jpg"});
}

TEST_F(MissingData, AnAccidentalSignThatIsNoPictureIsNamed)
{
    WriteBytes(Picture("Sharp.png"), "this is not a PNG");
    WriteBytes(Picture("Sharp@2x.png"), "this is not a PNG");
    StartAndExpectMessagesFor({"Sharp.png"});
}

TEST_F(MissingData, NoPicturesAtAll)
{
    QDir(data + QStringLiteral("/Images")).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("/Images")));
    StartAndExpectMessagesFor({"FretboardSimple.jpg", "Sheet.jpg"});
}

TEST_F(MissingData, AMissingPromptAnimationIsHarmless)
{
    Remove("Prompt.gif");
    StoreSetting(QStringLiteral("PlayNoteOnPrompt"), QStringLiteral("False"));
    ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready);
    ASSERT_TRUE(AnswerRight());
    EXPECT_TRUE(recorder.shown.empty()) << AllMessages().toStdString();
    Exit();
}
