#include "app/HelpWindow.h"

#include "app/ProgramArt.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>

namespace {

constexpr int kUrlRole = Qt::UserRole;

// Pages match without their anchor, so a section entry does not hide its page.
bool SamePage(const QUrl& a, const QUrl& b)
{
    return a.adjusted(QUrl::RemoveFragment) == b.adjusted(QUrl::RemoveFragment);
}

} // namespace

HelpWindow::HelpWindow(const QString& helpFile, QWidget* parent)
    : QMainWindow(parent)
    , strHelpFile(helpFile)
    , book(helpFile)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Fretlore Help"));
    setWindowIcon(ProgramIcon());

    treeContents = new QTreeWidget;
    treeContents->setObjectName(QStringLiteral("treeContents"));
    treeContents->setHeaderHidden(true);
    treeContents->setMinimumWidth(220);
    txtPage = new QTextBrowser;
    txtPage->setObjectName(QStringLiteral("txtPage"));
    txtPage->setOpenExternalLinks(true);
    txtPage->document()->setDocumentMargin(18);

    auto* splitter = new QSplitter;
    splitter->addWidget(treeContents);
    splitter->addWidget(txtPage);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 660});
    setCentralWidget(splitter);

    QToolBar* toolbar = addToolBar(tr("Navigation"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* back = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("&Back"));
    QAction* forward =
        toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("&Forward"));
    QAction* contents =
        toolbar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("&Contents"));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, txtPage, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, txtPage, &QTextBrowser::forward);
    connect(contents, &QAction::triggered, this, &HelpWindow::ShowContents);
    connect(txtPage, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(txtPage, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(txtPage, &QTextBrowser::sourceChanged, this, &HelpWindow::PageChanged);
    connect(treeContents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { ShowUrl(item->data(0, kUrlRole).toUrl()); });
    connect(treeContents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowUrl(item->data(0, kUrlRole).toUrl()); });

    BuildContentsTree();
    resize(960, 680);
}

void HelpWindow::BuildContentsTree()
{
    QList<QTreeWidgetItem*> parents;
    for (const HelpBookEntry& entry : book.Entries()) {
        const qsizetype level = qMin<qsizetype>(entry.intLevel, parents.size());
        parents.resize(level);
        auto* item = parents.isEmpty() ? new QTreeWidgetItem(treeContents)
                                       : new QTreeWidgetItem(parents.last());
        item->setText(0, entry.strTitle);
        item->setData(0, kUrlRole, book.EntryUrl(entry));
        parents.append(item);
    }
    treeContents->expandAll();
}

void HelpWindow::ShowContents()
{
    ShowUrl(book.ContentsUrl());
}

bool HelpWindow::ShowTopic(qint32 topic)
{
    const QUrl url = book.TopicUrl(topic);
    if (url.isEmpty()) {
        ShowContents();
        statusBar()->showMessage(tr("The help has no topic %1.").arg(topic), 5000);
        return false;
    }
    ShowUrl(url);
    return true;
}

void HelpWindow::ShowUrl(const QUrl& url)
{
    if (!book.Exists()) {
        ShowMissingBook();
        return;
    }
    if (txtPage->source() == url)
        PageChanged(url);
    else
        txtPage->setSource(url);
}

QUrl HelpWindow::CurrentUrl() const
{
    return txtPage->source();
}

QString HelpWindow::CurrentTitle() const
{
    return txtPage->documentTitle();
}

void HelpWindow::PageChanged(const QUrl& url)
{
    const QString title = CurrentTitle();
    setWindowTitle(title.isEmpty() ? tr("Fretlore Help") : tr("Fretlore Help - %1").arg(title));

    // Select the most precise contents entry: the page with its anchor, else the page.
    QTreeWidgetItem* match = nullptr;
    for (QTreeWidgetItemIterator it(treeContents); *it; ++it) {
        const QUrl entryUrl = (*it)->data(0, kUrlRole).toUrl();
        if (entryUrl == url) {
            match = *it;
            break;
        }
        if (!match && SamePage(entryUrl, url))
            match = *it;
    }
    const QSignalBlocker blocker(treeContents);
    treeContents->setCurrentItem(match);
    if (!match)
        treeContents->clearSelection();
}

void HelpWindow::ShowMissingBook()
{
    txtPage->setHtml(tr("<h2>Help is not available</h2><p>The help book was not found at "
                        "<b>%1</b>. Please reinstall the program.</p>")
                         .arg(strHelpFile.toHtmlEscaped()));
    setWindowTitle(tr("Fretlore Help"));
}
