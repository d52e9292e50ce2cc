#pragma once
// The help book's table of contents, read from contents.txt beside the book's
// contents page. Each line: "topic | page | title", two leading spaces per level of
// nesting; topic 0 means the entry has no number. Numbered topics are what
// ShowHelpContext and ShowHelpPopup open.

#include <QList>
#include <QString>
#include <QUrl>

struct HelpBookEntry {
    qint32 intTopic = 0;
    QString strPage; // relative to the book's folder, may carry an #anchor
    QString strTitle;
    qint32 intLevel = 0;
};

class HelpBook {
public:
    // helpFile: the contents page (index.html) of the book.
    explicit HelpBook(const QString& helpFile);

    bool Exists() const;
    QUrl ContentsUrl() const;
    // The page of a numbered topic; empty when the book has no such topic.
    QUrl TopicUrl(qint32 topic) const;
    QUrl EntryUrl(const HelpBookEntry& entry) const;
    const QList<HelpBookEntry>& Entries() const { return entries; }

private:
    QString strHelpFile;
    QString strFolder;
    QList<HelpBookEntry> entries;
};
