#include "doubles/MessageRecorder.h"

#include "core/Collection.h"
#include "core/Messages.h"
#include "core/Paths.h"
#include "core/Rounding.h"

#include <QFileInfo>

#include <gtest/gtest.h>

TEST(Collection, PositionsKeysAndInsertionOrder)
{
    Collection<int> items;
    items.Add(10, QStringLiteral("a"));
    items.Add(20);
    items.Add(30, QStringLiteral("c"));
    EXPECT_EQ(items.Count(), 3);
    EXPECT_EQ(items.Item(1), 10);
    EXPECT_EQ(items.Item(3), 30);
    EXPECT_EQ(items.Item(QStringLiteral("c")), 30);

    items.Remove(QStringLiteral("a"));
    EXPECT_EQ(items.Count(), 2);
    EXPECT_EQ(items.Item(1), 20);
    // Keys still find their items after the positions shifted.
    EXPECT_EQ(items.Item(QStringLiteral("c")), 30);
    EXPECT_EQ(items.KeyAt(2), QStringLiteral("c"));

    std::vector<int> seen(items.begin(), items.end());
    EXPECT_EQ(seen, (std::vector<int>{20, 30}));
}

TEST(Collection, MissingItemsAndDuplicateKeysAreErrors)
{
    Collection<QString> items;
    items.Add(QStringLiteral("x"), QStringLiteral("1"));
    EXPECT_THROW(items.Item(0), CollectionError);
    EXPECT_THROW(items.Item(2), CollectionError);
    EXPECT_THROW(items.Item(QStringLiteral("2")), CollectionError);
    EXPECT_THROW(items.Remove(QStringLiteral("2")), CollectionError);
    EXPECT_THROW(items.Add(QStringLiteral("y"), QStringLiteral("1")), CollectionError);
    EXPECT_EQ(items.Count(), 1);
    EXPECT_EQ(items.Find(QStringLiteral("2")), nullptr);
    ASSERT_NE(items.Find(QStringLiteral("1")), nullptr);
    // A removed key can be used again.
    items.Remove(1);
    items.Add(QStringLiteral("z"), QStringLiteral("1"));
    EXPECT_EQ(items.Item(QStringLiteral("1")), QStringLiteral("z"));
}

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(RoundHalfEven(64.5), 64.0);
    EXPECT_EQ(RoundHalfEven(65.5), 66.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(-3.5), -4.0);
    EXPECT_EQ(RoundHalfEven(2.4999), 2.0);
    EXPECT_EQ(RoundHalfEven(70.34), 70.0);
    EXPECT_EQ(RoundToInt16(10.5), 10);
    EXPECT_EQ(RoundToInt16(20.5), 20);
    EXPECT_EQ(RoundToInt16(1e9), 32767);
}

TEST(Rounding, NarrowingReportsOverflow)
{
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

TEST(Messages, RecorderAnswersQueuedButtonsAndSeesStatusText)
{
    MessageRecorder recorder;
    recorder.answers = {MsgNo, MsgCancel};
    EXPECT_EQ(ShowMessage(QStringLiteral("a"), MsgYesNoCancel), MsgNo);
    EXPECT_EQ(ShowMessage(QStringLiteral("b"), MsgOkCancel), MsgCancel);
    EXPECT_EQ(ShowMessage(QStringLiteral("c"), MsgPlain), MsgOk);
    ASSERT_EQ(recorder.shown.size(), 3u);
    SetStatusText(QStringLiteral("status"));
    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("status"));
}

TEST(SplitPath, DirectoryKeepsItsSeparator)
{
    QString file = QStringLiteral("untouched"), dir = QStringLiteral("untouched");
    EXPECT_FALSE(SplitPath(QString(), file, dir));
    EXPECT_EQ(file, QStringLiteral("untouched"));
    EXPECT_EQ(dir, QStringLiteral("untouched"));

    ASSERT_TRUE(SplitPath(QStringLiteral("C:\\a\\b.exe"), file, dir));
    EXPECT_EQ(dir, QStringLiteral("C:\\a\\"));
    EXPECT_EQ(file, QStringLiteral("b.exe"));

    ASSERT_TRUE(SplitPath(QStringLiteral("/usr/bin/firefox"), file, dir));
    EXPECT_EQ(dir, QStringLiteral("/usr/bin/"));
    EXPECT_EQ(file, QStringLiteral("firefox"));

    ASSERT_TRUE(SplitPath(QStringLiteral("browser"), file, dir));
    EXPECT_EQ(dir, QString());
    EXPECT_EQ(file, QStringLiteral("browser"));
}

TEST(Paths, DataIsFoundAndUserDataStaysInTheTestHome)
{
    EXPECT_TRUE(QFileInfo(ProgramDataPath(QStringLiteral("Images"))).isDir());
    const QString userDir = UserDataDir();
    ASSERT_FALSE(userDir.isEmpty());
    EXPECT_TRUE(userDir.startsWith(qEnvironmentVariable("XDG_DATA_HOME"))) << userDir.toStdString();
    EXPECT_TRUE(userDir.endsWith(QStringLiteral("/Fretlore")));
}
