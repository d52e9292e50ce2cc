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

TEST_F(TipTest, SwitchAtZeroKeepsTheWindowAwayAndReEnablingStoresOneAndShowsTheShippedTips)
{
    StoreShowTipsAtStartup(false);
    EXPECT_TRUE(FrmTip(nullptr, WriteTips("a tip\n")).UnloadedAtLoad());
    {
        ModalCatcher catcher;
        EXPECT_FALSE(ShowTipOfTheDay(nullptr));
        QTest::qWait(30);
        EXPECT_EQ(catcher.Count(), 0);
    }

    int tips = 0;
    ModalCatcher catcher([&](QWidget* modal) {
        if (auto* tip = qobject_cast<FrmTip*>(modal))
            tips = tip->TipCount();
    });
    ReEnableTipsAtStartup(nullptr);
    EXPECT_EQ(StoredTipSwitch(), QStringLiteral("1"));
    EXPECT_EQ(catcher.Count(), 1);
    EXPECT_EQ(catcher.LastTitle(), QStringLiteral("Tip of the Day"));
    EXPECT_GE(tips, 25) << "the shipped tips file";
}

TEST_F(TipTest, TheBoxStartsCheckedAndStoresItsStateAtOnce)
{
    FrmTip tip(nullptr, WriteTips("a\n"));
    EXPECT_FALSE(tip.UnloadedAtLoad());
    auto* box = tip.findChild<QCheckBox*>(QStringLiteral("chkLoadTipsAtStartup"));
    EXPECT_TRUE(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    EXPECT_EQ(StoredTipSwitch(), QStringLiteral("0"));
    EXPECT_EQ(ReadShowTipsAtStartup(), 0);
    box->click();
    EXPECT_EQ(StoredTipSwitch(), QStringLiteral("1"));
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
}

TEST_F(TipTest, AnEmptyFileShowsNoTipAndAMissingOneExplainsWhatToDo)
{
    FrmTip empty(nullptr, WriteTips(""));
    ClickNext(empty);
    EXPECT_EQ(empty.TipText(), QString());

    const QString expected =
        QStringLiteral("That the TIPOFDAY.TXT file was not found? \n\nCreate a text file named "
                       "TIPOFDAY.TXT using NotePad with 1 tip per line. Then place it in the same "
                       "directory as the application. ");
    FrmTip missing(nullptr, dir.filePath(QStringLiteral("missing.txt")));
    ClickNext(missing);
    EXPECT_EQ(missing.TipText(), expected);
}
