#include "core/Collection.h"
#include "core/Messages.h"
#include "core/Paths.h"
#include "core/Rounding.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <cmath>

TEST(Collection, PositionsKeysInsertionOrderAndWhatIsMissing)
{
    Collection<int> items;
    items.Add(10, QStringLiteral("a"));
    items.Add(20);
    items.Add(30, QStringLiteral("c"));
    EXPECT_EQ(items.Count(), 3);
    EXPECT_EQ(items.Item(1), 10);
    EXPECT_EQ(items.Item(3), 30);
    items.Remove(QStringLiteral("a"));
    EXPECT_EQ(items.Item(1), 20);
    // Keys still find their items after the positions shifted.
    EXPECT_EQ(items.Item(QStringLiteral("c")), 30);
    EXPECT_EQ(items.KeyAt(2), QStringLiteral("c"));
    EXPECT_EQ(std::vector<int>(items.begin(), items.end()), (std::vector<int>{20, 30}));

    // Missing items and keys given twice are errors; a removed key can be used again.
    EXPECT_THROW(items.Item(0), CollectionError);
    EXPECT_THROW(items.Item(3), CollectionError);
    EXPECT_THROW(items.Item(QStringLiteral("a")), CollectionError);
    EXPECT_THROW(items.Remove(QStringLiteral("a")), CollectionError);
    EXPECT_THROW(items.Add(40, QStringLiteral("c")), CollectionError);
    EXPECT_EQ(items.Count(), 2);
    EXPECT_EQ(items.Find(QStringLiteral("a")), nullptr);
    ASSERT_NE(items.Find(QStringLiteral("c")), nullptr);
    items.Remove(2);
    items.Add(50, QStringLiteral("c"));
    EXPECT_EQ(items.Item(QStringLiteral("c")), 50);
}

// Halves go to the even neighbour; narrowing says when the rounded value does not fit.
TEST(Rounding, HalvesGoToTheEvenNeighbourAndNarrowingReportsOverflow)
{
    const std::pair<double, double> halves[] = {{64.5, 64}, {65.5, 66}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {70.34, 70}};
    for (const auto& [value, rounded] : halves)
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
    EXPECT_EQ(RoundToInt16(10.5), 10);
    EXPECT_EQ(RoundToInt16(20.5), 20);
    EXPECT_EQ(RoundToInt16(1e9), 32767);
    EXPECT_EQ(RoundToInt<qint16>(32767.4), std::optional<qint16>(32767));
    EXPECT_FALSE(RoundToInt<qint16>(32767.5).has_value()); // rounds to 32768
    EXPECT_EQ(RoundToInt<qint16>(-32768.5), std::optional<qint16>(-32768));
    EXPECT_FALSE(RoundToInt<qint32>(3e9).has_value());
    EXPECT_FALSE(RoundToInt<qint32>(std::nan("")).has_value());
}

TEST(Messages, PlainStyleIsAnOkBoxTitledWithTheProgram)
{
    QString title;
    int style = -99;
    const MessageHook previous = SetMessageHook([&](const QString& t, const QString&, int s) {
        title = t;
        style = s;
        return MsgOk;
    });
    EXPECT_EQ(ShowMessage(QStringLiteral("hello"), MsgPlain), MsgOk);
    EXPECT_EQ(title, QStringLiteral("Fretlore"));
    EXPECT_EQ(style, 0);
    ShowMessage(QStringLiteral("question"), MsgYesNoCancel);
    EXPECT_EQ(style, 3);
    SetMessageHook(previous);
}

// The folder keeps its separator; a path without one is a file name alone.
TEST(Paths, SplitPathAndTheDataFolders)
{
    QString file = QStringLiteral("untouched"), dir = QStringLiteral("untouched");
    EXPECT_FALSE(SplitPath(QString(), file, dir));
    EXPECT_EQ(file, QStringLiteral("untouched"));
    EXPECT_EQ(dir, QStringLiteral("untouched"));
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"C:\\a\\b.exe", "C:\\a\\", "b.exe"}, {"/usr/bin/firefox", "/usr/bin/", "firefox"}, {"browser", "", "browser"}};
    for (const auto& [path, folder, name] : cases) {
        ASSERT_TRUE(SplitPath(QLatin1String(path), file, dir));
        EXPECT_EQ(dir, QLatin1String(folder));
        EXPECT_EQ(file, QLatin1String(name));
    }

    EXPECT_TRUE(QFileInfo(ProgramDataPath(QStringLiteral("Images"))).isDir());
    const QString userDir = UserDataDir();
    EXPECT_TRUE(userDir.startsWith(qEnvironmentVariable("XDG_DATA_HOME"))) << userDir.toStdString();
    EXPECT_TRUE(userDir.endsWith(QStringLiteral("/Fretlore")));
}
