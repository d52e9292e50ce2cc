#include "app/HelpBook.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kContentsFile = QStringLiteral("contents.txt");

bool ParseEntry(const QString& line, HelpBookEntry& entry)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
        return false;
    const QStringList fields = trimmed.split(QLatin1Char('|'));
    if (fields.size() != 3)
        return false;
    bool ok = false;
    entry.intTopic = fields[0].trimmed().toInt(&ok);
    if (!ok)
        return false;
    entry.strPage = fields[1].trimmed();
    entry.strTitle = fields[2].trimmed();
    const qsizetype indent = line.indexOf(trimmed.at(0));
    entry.intLevel = qint32(indent / 2);
    return !entry.strPage.isEmpty();
}

} // namespace

HelpBook::HelpBook(const QString& helpFile)
    : strHelpFile(helpFile)
    , strFolder(QFileInfo(helpFile).absolutePath())
{
    QFile contents(strFolder + QLatin1Char('/') + kContentsFile);
    if (!contents.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const QStringList lines = QString::fromUtf8(contents.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        HelpBookEntry entry;
        if (ParseEntry(line, entry))
            entries.append(entry);
    }
}

bool HelpBook::Exists() const
{
    return QFileInfo(strHelpFile).isFile();
}

QUrl HelpBook::ContentsUrl() const
{
    return QUrl::fromLocalFile(QFileInfo(strHelpFile).absoluteFilePath());
}

QUrl HelpBook::EntryUrl(const HelpBookEntry& entry) const
{
    const QString page = entry.strPage.section(QLatin1Char('#'), 0, 0);
    const QString anchor = entry.strPage.section(QLatin1Char('#'), 1);
    QUrl url = QUrl::fromLocalFile(strFolder + QLatin1Char('/') + page);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}

QUrl HelpBook::TopicUrl(qint32 topic) const
{
    if (topic == 0)
        return {};
    for (const HelpBookEntry& entry : entries)
        if (entry.intTopic == topic)
            return EntryUrl(entry);
    return {};
}
