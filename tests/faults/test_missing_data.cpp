// Pictures missing from or damaged in the installed data: the user is told which file,
// and the drill still works on a blank board.
#include "FaultFixture.h"

#include "core/Paths.h"

#include <QDirIterator>

#include <functional>

namespace {

class MissingData : public FaultTest {
protected:
    void SetUp() override
    {
        source = ProgramDataDir();
        data = dir.filePath(QStringLiteral("data"));
        SetProgramDataDir(data);
    }
    // A fresh copy of the program's data that a case may break.
    void FreshData()
    {
        QDir(data).removeRecursively();
        QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target = data + file.mid(source.size());
            QDir().mkpath(QFileInfo(target).path());
            ASSERT_TRUE(QFile::copy(file, target)) << target.toStdString();
        }
    }
    void TearDown() override
    {
        window.reset();
        SetProgramDataDir(QString());
    }

    QString Picture(const char* name) const { return data + QStringLiteral("/Images/") + QLatin1String(name); }
    // The picture and its double-size twin.
    void Break(const char* name, const QByteArray& bytes = QByteArray()) const
    {
        for (const QString& path : {Picture(name), Picture(name).replace(QStringLiteral("."), QStringLiteral("@2x."))}) {
            QFile::remove(path);
            if (!bytes.isNull())
                WriteBytes(path, bytes);
        }
    }

    QString source;
    QString data;
};

} // namespace

// One message per picture that cannot be shown, then a drill whose right answer sounds.
// A missing prompt animation is no fault worth a word.
TEST_F(MissingData, EachPictureThatCannotBeShownIsNamed)
{
    struct Case {
        const char* what;
        std::function<void()> damage;
        std::vector<const char*> named;
    };
    const Case cases[] = {
        {"no fretboard", [this] { Break("FretboardSimple.jpg"); }, {"FretboardSimple.jpg"}},
        {"no staff", [this] { Break("Sheet.jpg"); }, {"Sheet.jpg"}},
        {"no five-string bass pictures",
         [this] {
             StoreSetting(QStringLiteral("GuitarType"), QStringLiteral("2"));
             StoreSetting(QStringLiteral("FretboardStyle"), QStringLiteral("1"));
             Break("FretboardSimpleBassFive.jpg");
             Break("SheetBass.jpg");
         },
         {"FretboardSimpleBassFive.jpg", "SheetBass.jpg"}},
        {"a sign that is no picture", [this] { Break("Sharp.png", "this is not a PNG"); }, {"Sharp.png"}},
        {"no pictures at all",
         [this] {
             QDir(data + QStringLiteral("/Images")).removeRecursively();
             QDir().mkpath(data + QStringLiteral("/Images"));
         },
         {"FretboardSimple.jpg", "Sheet.jpg"}},
        {"no prompt animation",
         [this] {
             Break("Prompt.gif");
             StoreSetting(QStringLiteral("PlayNoteOnPrompt"), QStringLiteral("False"));
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearSettings();
        FreshData();
        recorder.shown.clear();
        midi.messages.clear();
        c.damage();
        ASSERT_EQ(Launch(), FrmStartup::LoadResult::Ready) << AllMessages().toStdString();
        ASSERT_EQ(recorder.shown.size(), c.named.size()) << AllMessages().toStdString();
        for (size_t i = 0; i < c.named.size(); ++i)
            EXPECT_TRUE(recorder.shown[i].text.contains(Picture(c.named[i]))) << recorder.shown[i].text.toStdString();
        ASSERT_TRUE(AnswerRight());
        EXPECT_EQ(window->StatusPanelText(QString()), QStringLiteral("Correct! Now try the next note."));
        EXPECT_FALSE(midi.messages.empty()) << "the note still sounds";
        Exit();
    }
}
