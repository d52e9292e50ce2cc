#include "doubles/ModalCatcher.h"
#include "doubles/MessageRecorder.h"

#include "app/FrmTip.h"
#include "app/TipSettings.h"

#include <QSettings>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

QString StoredTipSwitch()
{
    return OpenTipSettingsStore()->value(QStringLiteral("Options/Show Tips at Startup")).toString();
}

class TipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        const auto store = OpenTipSettingsStore();
        store->clear();
        store->sync();
    }

    QString WriteTips(const QByteArray& content)
    {
        const QString path = dir.filePath(QStringLiteral("TIPOFDAY.TXT"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        return path;
    }

    static void ClickNext(FrmTip& tip)
    {
        QTest::mouseClick(tip.findChild<QPushButton*>(QStringLiteral("cmdNextTip")), Qt::LeftButton);
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(TipTest, SwitchAtZeroKeepsTheWindowAwayAndReEnablingStoresOneAndShowsIt)
{
    StoreShowTipsAtStartup(false);
    EXPECT_EQ(StoredTipSwitch(), QStringLiteral("0"));
    EXPECT_TRUE(FrmTip(nullptr, WriteTips("a tip\n")).UnloadedAtLoad());
    {
        ModalCatcher catcher;
        EXPECT_FALSE(ShowTipOfTheDay(nullptr));
        QTest::qWait(30);
        EXPECT_EQ(catcher.Count(), 0);
    }

    QString shownTip;
    ModalCatcher catcher([&](QWidget* modal) {
        if (auto* tip = qobject_cast<FrmTip*>(modal))
            shownTip = tip->TipText();
    });
    ReEnableTipsAtStartup(nullptr);
    EXPECT_EQ(StoredTipSwitch(), QStringLiteral("1"));
    EXPECT_EQ(catcher.Count(), 1);
    EXPECT_EQ(catcher.LastTitle(), QStringLiteral("Tip of the Day"));
    EXPECT_FALSE(shownTip.isEmpty()) << "the shipped tips file was not found";
}

TEST_F(TipTest, AbsentSwitchShowsTheWindowWithTheBoxChecked)
{
    EXPECT_EQ(ReadShowTipsAtStartup(), 1);
    FrmTip tip(nullptr, WriteTips("only tip\n"));
    EXPECT_FALSE(tip.UnloadedAtLoad());
    EXPECT_TRUE(tip.findChild<QCheckBox*>(QStringLiteral("chkLoadTipsAtStartup"))->isChecked());
}

TEST_F(TipTest, EmptyFileLoadsButShowsNoTipAndNextChangesNothing)
{
    FrmTip tip(nullptr, WriteTips(""));
    EXPECT_EQ(tip.TipCount(), 0);
    EXPECT_EQ(tip.TipText(), QString());
    ClickNext(tip);
    EXPECT_EQ(tip.TipText(), QString());
    EXPECT_TRUE(tip.LoadTips(dir.filePath(QStringLiteral("TIPOFDAY.TXT"))));
}

// Every line is a tip, an empty one too, and the last needs no line break.
TEST_F(TipTest, TheLinesCycleInFileOrder)
{
    FrmTip tip(nullptr, WriteTips("First tip\r\nSecond \xE2\x99\xAD tip\r\n\r\nLast tip"));
    QStringList seen{tip.TipText()};
    for (int click = 0; click < 4; ++click) {
        ClickNext(tip);
        seen << tip.TipText();
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("First tip"), QStringLiteral("Second \u266D tip"), QString(),
                                 QStringLiteral("Last tip"), QStringLiteral("First tip")}));
    EXPECT_EQ(tip.GetCurrentTip(), 1);
}

TEST_F(TipTest, MissingFileExplainsWhatToDoAndNextDoesNothing)
{
    const QString expected =
        QStringLiteral("That the TIPOFDAY.TXT file was not found? \n\nCreate a text file named "
                       "TIPOFDAY.TXT using NotePad with 1 tip per line. Then place it in the same "
                       "directory as the application. ");
    FrmTip tip(nullptr, dir.filePath(QStringLiteral("missing.txt")));
    EXPECT_EQ(tip.TipText(), expected);
    ClickNext(tip);
    EXPECT_EQ(tip.TipText(), expected);
    EXPECT_FALSE(tip.LoadTips(QString()));
}

TEST_F(TipTest, UncheckingStoresZeroAtOnceAndCheckingStoresOne)
{
    FrmTip tip(nullptr, WriteTips("a\n"));
    auto* box = tip.findChild<QCheckBox*>(QStringLiteral("chkLoadTipsAtStartup"));
    QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center() - QPoint(box->width() / 2 - 8, 0));
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(StoredTipSwitch(), QStringLiteral("0"));
    EXPECT_EQ(ReadShowTipsAtStartup(), 0);
    box->click();
    EXPECT_EQ(StoredTipSwitch(), QStringLiteral("1"));
}

TEST_F(TipTest, ShippedTipsFileHoldsAtLeastTwentyFiveTips)
{
    FrmTip tip;
    EXPECT_GE(tip.TipCount(), 25);
    EXPECT_TRUE(tip.TipText().startsWith(QStringLiteral("Start with")));
}
