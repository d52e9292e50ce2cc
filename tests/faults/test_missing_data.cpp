// Data missing from or damaged in the installed data: the boards and staves are drawn
// without any picture; missing music signs are named, and the drill still works.
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

TEST_F(MissingData, TheViewsNeedNoPicturesButTheMusicSignsAreNamed)
{
    QDir(data + QStringLiteral("/Images")).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("/Images")));
    ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready);
    // The board and the staff lines are drawn, only the clef and signs are missing.
    QImage staff(Staff().size(), QImage::Format_RGB32);
    Staff().render(&staff);
    const QPoint onTopLine = Staff().Geometry().WorkArea().topLeft().toPoint() + QPoint(100, 0);
    EXPECT_LT(qGray(staff.pixel(onTopLine)), 160) << "the staff's top line";
    Exit();
    recorder.shown.clear();
    StartAndExpectMessagesFor({"MusicSigns.svg"});
}

TEST_F(MissingData, DamagedMusicSignsAreNamedOnTheBassToo)
{
    StoreSetting(QStringLiteral("GuitarType"), QStringLiteral("2"));
    WriteBytes(Picture("MusicSigns.svg"), "this is not a picture");
    StartAndExpectMessagesFor({"MusicSigns.svg"});
}
