// Pictures missing from or damaged in the installed data.
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

    QString data;
};

} // namespace

// No pictures at all on the guitar, a damaged music-signs file on the bass: the staff's
// lines are still drawn, the file is named once, and the drill works with sound.
TEST_F(MissingData, TheViewsNeedNoPicturesButTheMusicSignsAreNamed)
{
    const QString signs = data + QStringLiteral("/Images/MusicSigns.svg");
    for (const bool bass : {false, true}) {
        SCOPED_TRACE(bass);
        recorder.shown.clear();
        if (bass) {
            StoreSetting(QStringLiteral("GuitarType"), QStringLiteral("2"));
            WriteBytes(signs, "this is not a picture");
        } else {
            QDir(data + QStringLiteral("/Images")).removeRecursively();
            ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("/Images")));
        }
        ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready) << recorder.allMessages().toStdString();
        ASSERT_EQ(recorder.shown.size(), 1u) << recorder.allMessages().toStdString();
        EXPECT_TRUE(recorder.lastMessage().contains(signs)) << recorder.lastMessage().toStdString();
        QImage staff(Staff().size(), QImage::Format_RGB32);
        Staff().render(&staff);
        const QPoint onTopLine = Staff().Geometry().WorkArea().topLeft().toPoint() + QPoint(100, 0);
        EXPECT_LT(qGray(staff.pixel(onTopLine)), 160) << "the staff's top line";
        AnswerPrompt(true);
        EXPECT_EQ(window->StatusPanelText(QString()), QStringLiteral("Correct! Now try the next note."));
        EXPECT_FALSE(midi.messages.empty()) << "the note still sounds";
        Exit();
    }
}
