#include "app/Help.h"
#include "app/HelpBook.h"
#include "app/HelpPopup.h"
#include "app/HelpWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

QString PageName(const QUrl& url)
{
    QString name = QFileInfo(url.toLocalFile()).fileName();
    if (url.hasFragment())
        name += QLatin1Char('#') + url.fragment();
    return name;
}

QString SelectedEntry(const HelpWindow& window)
{
    const QTreeWidgetItem* item = window.findChild<QTreeWidget*>()->currentItem();
    return item ? item->text(0) : QString();
}

QString ReadText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class HelpTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (window)
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    HelpWindow* window = nullptr;
};

} // namespace

TEST_F(HelpTest, ANumberedTopicOpensItsPageAndSelectsItAndContentsOpensTheContents)
{
    window = ShowHelpContext(HelpFile(), 3);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(PageName(window->CurrentUrl()), QStringLiteral("learners-and-scores.html#scores"));
    EXPECT_EQ(window->CurrentTitle(), QStringLiteral("Learners and scores"));
    EXPECT_EQ(SelectedEntry(*window), QStringLiteral("The score chart"));
    EXPECT_TRUE(window->ShowTopic(1));
    EXPECT_EQ(SelectedEntry(*window), QStringLiteral("The main window"));
    window->findChild<QTextBrowser*>()->backward();
    EXPECT_EQ(PageName(window->CurrentUrl()), QStringLiteral("learners-and-scores.html#scores"));

    // An unknown topic falls back to the contents; one help window serves every call.
    EXPECT_FALSE(window->ShowTopic(0));
    EXPECT_EQ(ShowHelpContext(HelpFile(), 999), window);
    EXPECT_EQ(PageName(window->CurrentUrl()), QStringLiteral("index.html"));
    window->ShowTopic(1);
    EXPECT_EQ(ShowHelpContents(HelpFile()), window);
    EXPECT_EQ(PageName(window->CurrentUrl()), QStringLiteral("index.html"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Fretlore Help - Contents"));
}

TEST_F(HelpTest, PopupShowsTheTopicAndUnknownTopicsOpenTheWindowInstead)
{
    HelpPopup* popup = ShowHelpPopup(HelpFile(), 1);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(PageName(popup->CurrentUrl()), QStringLiteral("main-window.html"));
    popup->close();

    EXPECT_EQ(ShowHelpPopup(HelpFile(), 999), nullptr);
    window = ShowHelpContents(HelpFile());
}

TEST_F(HelpTest, MissingBookSaysSoInsteadOfShowingAnEmptyWindow)
{
    QTemporaryDir empty;
    window = ShowHelpContents(empty.filePath(QStringLiteral("index.html")));
    EXPECT_TRUE(window->findChild<QTextBrowser*>()->toPlainText().contains(QStringLiteral("Help is not available")));
}

TEST(HelpBookContents, EveryEntryAndEveryLinkLeadsToAnExistingPageAndAnchor)
{
    const HelpBook book(HelpFile());
    ASSERT_TRUE(book.Exists()) << HelpFile().toStdString();
    ASSERT_GE(book.Entries().size(), 12);

    QList<QUrl> targets;
    for (const HelpBookEntry& entry : book.Entries())
        targets << book.EntryUrl(entry);
    const QDir folder = QFileInfo(HelpFile()).absoluteDir();
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]*)(#[^\"]*)?\""));
    for (const QString& page : folder.entryList({QStringLiteral("*.html")})) {
        const QUrl base = QUrl::fromLocalFile(folder.filePath(page));
        for (const auto& match : link.globalMatch(ReadText(base.toLocalFile())))
            targets << base.resolved(QUrl(match.captured(1) + match.captured(2)));
    }
    for (const QUrl& target : targets) {
        const QString text = ReadText(target.toLocalFile());
        EXPECT_FALSE(text.isEmpty()) << "missing page " << target.toString().toStdString();
        if (target.hasFragment()) {
            EXPECT_TRUE(text.contains(QStringLiteral("name=\"%1\"").arg(target.fragment())))
                << "missing anchor " << target.toString().toStdString();
        }
    }

    QList<qint32> topics;
    for (const HelpBookEntry& entry : book.Entries())
        if (entry.intTopic != 0) {
            EXPECT_FALSE(topics.contains(entry.intTopic)) << "topic used twice: " << entry.intTopic;
            topics << entry.intTopic;
        }
}
