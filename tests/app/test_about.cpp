// The About window: its address, the version comment and the system information.
#include "doubles/ModalCatcher.h"
#include "doubles/MessageRecorder.h"

#include "app/FrmAbout.h"
#include "app/SystemInfo.h"
#include "app/SystemInfoDialog.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest/QTest>

#include <fluidsynth.h>
#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>

namespace {

void ClickAddress(FrmAbout& about)
{
    auto* url = about.findChild<QLabel*>(QStringLiteral("lblUrl"));
    about.show();
    QTest::mouseClick(url, Qt::LeftButton, {}, QPoint(6, url->height() / 2));
}

// The rows of a system information dialog as "name: value" lines.
QStringList DialogRows(QWidget* dialog)
{
    QStringList rows;
    auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("lstInfo"));
    for (int row = 0; list && row < list->topLevelItemCount(); ++row)
        rows << list->topLevelItem(row)->text(0) + QStringLiteral(": ") + list->topLevelItem(row)->text(1);
    return rows;
}

} // namespace

TEST(About, AddressOpensTheShippedRedirectPageOrAsksForManualEntry)
{
    MessageRecorder messages;
    QList<QUrl> opened;
    FrmAbout about(nullptr, [&](const QUrl& url) {
        opened << url;
        return true;
    });
    ClickAddress(about);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(FrmAbout::WebRedirectPath()));
    EXPECT_TRUE(QFileInfo(opened[0].toLocalFile()).isFile());
    EXPECT_TRUE(messages.shown.empty());

    FrmAbout failing(nullptr, [](const QUrl&) { return false; });
    ClickAddress(failing);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.lastMessage(), QStringLiteral("Please enter the address manually into your web browser."));
    EXPECT_EQ(messages.shown[0].style, MsgOkOnly);
}

TEST(About, DoubleClickOnTheIconShowsTheVersionComment)
{
    MessageRecorder messages;
    FrmAbout about;
    about.show();
    QTest::mouseDClick(about.findChild<QLabel*>(QStringLiteral("picIcon")), Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.lastMessage(), FrmAbout::VersionComment());
}

TEST(About, SystemInfoListsLibraryVersionsAndWhatSoundReports)
{
    SoundInfoProvider previous = SetSoundInfoProvider({});
    EXPECT_TRUE(SystemInfoText(CollectSystemInfo()).contains(QStringLiteral("\nSound: Not started\n")));
    SetSoundInfoProvider([] {
        return QList<SystemInfoItem>{{QStringLiteral("SoundFont"), QStringLiteral("/tmp/test.sf2")},
                                     {QStringLiteral("MIDI ports"), QStringLiteral("Port A, Port B")}};
    });
    QStringList rows;
    ModalCatcher catcher([&](QWidget* modal) { rows = DialogRows(modal); });
    FrmAbout about;
    QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    SetSoundInfoProvider(previous);

    EXPECT_EQ(catcher.LastTitle(), QStringLiteral("System Information"));
    EXPECT_TRUE(rows.contains(QStringLiteral("FluidSynth version: ") + QString::fromLatin1(fluid_version_str())));
    EXPECT_TRUE(rows.contains(QStringLiteral("RtMidi version: ") + QString::fromStdString(RtMidi::getVersion())));
    EXPECT_EQ(rows.filter(QStringLiteral("Qt version: ") + QString::fromLatin1(qVersion())).size(), 1);
    EXPECT_TRUE(rows.contains(QStringLiteral("SoundFont: /tmp/test.sf2")));
    EXPECT_TRUE(rows.contains(QStringLiteral("MIDI ports: Port A, Port B")));
}
