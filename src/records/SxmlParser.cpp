#include "records/SxmlParser.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>

#include <utility>
#include <vector>

namespace {

const QString kRecordStart = QStringLiteral("<RECORD");
const QString kRecordEnd = QStringLiteral("</RECORD>");
const QString kAttributesEnd = QStringLiteral("></RECORD>");
const QString kEscapedSpace = QStringLiteral("&#20;");

// Our files hold a few hundred kilobytes at most (keys are 16-bit); anything far
// larger is not one of them and is not read into memory.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;
// One record per key and keys run from 1 to 32767: a file with more records is damaged,
// and splitting millions of them (a file of nothing but end tags) would stall the start.
constexpr int kMaxRecords = 32767;

QString Tr(const char* text)
{
    return QCoreApplication::translate("SxmlParser", text);
}

bool IsQuote(QChar c)
{
    return c == QLatin1Char('\'') || c == QLatin1Char('"');
}

bool StartsWithQuote(QStringView token)
{
    return !token.isEmpty() && IsQuote(token.front());
}

bool EndsWithQuote(QStringView token)
{
    return !token.isEmpty() && IsQuote(token.back());
}

bool IsBlank(QStringView text)
{
    for (const QChar c : text)
        if (!c.isSpace())
            return false;
    return true;
}

// Whether text from i on begins an attribute: a name, then "=" after any spaces (the
// walk reports more than one space as a fault of that attribute).
bool StartsAttribute(QStringView text, qsizetype i)
{
    while (i < text.size() && text[i] != QLatin1Char(' ') && text[i] != QLatin1Char('=') && !IsQuote(text[i]))
        ++i;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    return i < text.size() && text[i] == QLatin1Char('=');
}

// Whether the quote at q, inside a value, closes it: it does when the attribute text
// ends there, or a space follows and after it either the next attribute or only text
// without quotes (which the grammar passes over). Any other quote belongs to the value,
// as in 'Ann O'Brien', 'rock'n'roll' or 'The Smiths' new band'. Toggling at every quote
// instead would let one such quote swallow the next attribute or cut the name short.
bool ClosesValue(QStringView text, qsizetype q, qsizetype lastQuote)
{
    if (q + 1 == text.size())
        return true;
    if (text[q + 1] != QLatin1Char(' '))
        return false;
    return q == lastQuote || StartsAttribute(text, q + 2);
}

// Drops every quote character and then any end tag left in the text, in one pass (a
// tag completed by dropping another, as in "</REC</RECORD>ORD>", goes too).
QString StripQuotesAndEndTags(QStringView text)
{
    QString result;
    result.reserve(text.size());
    if (!text.contains(QLatin1Char('>'))) { // no tag can form: copy the runs between quotes
        qsizetype start = 0;
        for (qsizetype i = 0; i <= text.size(); ++i)
            if (i == text.size() || IsQuote(text[i])) {
                result += text.mid(start, i - start);
                start = i + 1;
            }
        return result;
    }
    for (const QChar c : text) {
        if (IsQuote(c))
            continue;
        result += c;
        if (c == QLatin1Char('>') && result.endsWith(kRecordEnd))
            result.chop(kRecordEnd.size());
    }
    return result;
}

// Quote characters and end tags go before the space escape is read: what is left
// holds nothing that EscapeValue would change, so a value is written back as read.
QString DecodeValue(QStringView value)
{
    QString decoded = StripQuotesAndEndTags(value);
    if (decoded.contains(QLatin1Char('&')))
        decoded.replace(kEscapedSpace, QStringLiteral(" "));
    return decoded;
}

// Files are UTF-8. Files of older versions were written in an 8-bit code page; those
// are read as Latin-1 rather than with replacement characters, so that the next save
// does not destroy accented names.
QString DecodeFileText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// As EncodeQuotedSpaces; open tells whether the text ends inside a value, which is
// then kept to the end (its spaces escaped) so the walk finds its missing quote.
QString EncodeQuotedSpaces(QStringView text, bool& open)
{
    qsizetype lastQuote = text.size() - 1;
    while (lastQuote >= 0 && !IsQuote(text[lastQuote]))
        --lastQuote;
    QString result;
    result.reserve(text.size() + text.size() / 8);
    open = false;
    qsizetype copied = 0; // text before this is in result
    for (qsizetype i = 0; i <= lastQuote; ++i) {
        const QChar c = text[i];
        if (open && c == QLatin1Char(' ')) {
            result += text.mid(copied, i - copied);
            result += kEscapedSpace;
            copied = i + 1;
        } else if (IsQuote(c)) {
            open = !open || !ClosesValue(text, i, lastQuote);
        }
    }
    result += text.mid(copied, lastQuote + 1 - copied);
    if (open) // the unclosed value runs on to the end
        for (qsizetype i = lastQuote + 1; i < text.size(); ++i)
            result += text[i] == QLatin1Char(' ') ? QStringView(kEscapedSpace) : text.mid(i, 1);
    return result;
}

// The attribute names met so far: records repeat the same few, and a copy of a name
// already read shares its text instead of allocating its own.
class NameCache {
public:
    QString Name(QStringView name)
    {
        for (const QString& known : names_)
            if (known == name)
                return known;
        QString made = name.toString();
        if (names_.size() < 16)
            names_.push_back(made);
        return made;
    }

private:
    std::vector<QString> names_;
};

// Reads "name = value" triples from the encoded attribute text, split at single spaces.
// A last name without "=" or without a value adds nothing.
bool WalkAttributes(QStringView inner, SxmlChildValues& values, NameCache& names, QString& strDetail)
{
    if (inner.isEmpty())
        return true;
    enum { Name, Equals, Value } state = Name;
    QStringView name;
    qsizetype start = 0;
    while (start <= inner.size()) {
        qsizetype end = inner.indexOf(QLatin1Char(' '), start);
        if (end < 0)
            end = inner.size();
        const QStringView token = inner.mid(start, end - start);
        switch (state) {
        case Name:
            name = token;
            state = Equals;
            break;
        case Equals:
            if (token != QLatin1String("=")) {
                strDetail = Tr("A '=' tag is out of place in data file.");
                return false;
            }
            state = Value;
            break;
        case Value:
            if (!StartsWithQuote(token)) {
                strDetail = Tr("The starting ' missing from a value field in data file.");
                return false;
            }
            // A value runs on over the following tokens up to one that ends with a quote.
            while (!EndsWithQuote(inner.mid(start, end - start))) {
                if (end == inner.size()) {
                    strDetail = Tr("The ending ' missing from a value field in data file.");
                    return false;
                }
                end = inner.indexOf(QLatin1Char(' '), end + 1);
                if (end < 0)
                    end = inner.size();
            }
            if (!values.Insert({names.Name(name), DecodeValue(inner.mid(start, end - start))})) {
                strDetail = Tr("The attribute '%1' is given twice in a record in data file.").arg(name);
                return false;
            }
            state = Name;
            break;
        }
        start = end + 1;
    }
    return true;
}

// ParseRecord with the names of the records before it at hand.
bool ReadRecord(SxmlParserChild& record, NameCache& names, QString& strDetail)
{
    const QString& text = record.strRecordValue;
    const qsizetype tag = text.startsWith(kRecordStart) ? 0 : text.indexOf(kRecordStart);
    // A record cut from a file holds one end tag, at its end.
    const qsizetype attributesEnd = text.endsWith(kAttributesEnd) ? text.size() - kAttributesEnd.size()
                                                                   : text.indexOf(kAttributesEnd);
    if (tag < 0 || attributesEnd < 0) {
        strDetail = Tr("RECORD tags are missing in data file.");
        return false;
    }
    // "<RECORD", one separating character, then the attributes.
    const qsizetype first = tag + kRecordStart.size() + 1;
    if (first > attributesEnd) {
        strDetail = Tr("A RECORD has no room for attributes in data file.");
        return false;
    }
    bool open = false;
    const QString inner = EncodeQuotedSpaces(QStringView(text).mid(first, attributesEnd - first), open);
    if (!WalkAttributes(inner, record.objSxmlChildValues, names, strDetail))
        return false;
    // An opening quote that is never closed means a value was cut short; reading it as
    // an empty value would lose it at the next save.
    if (open) {
        strDetail = Tr("The ending ' missing from a value field in data file.");
        return false;
    }
    return true;
}

// Removes every CR LF pair in place; a lone CR or LF stays.
void RemoveLineBreaks(QString& text)
{
    if (!text.contains(QLatin1Char('\r')))
        return;
    QChar* const data = text.data();
    const qsizetype size = text.size();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] == QLatin1Char('\r') && i + 1 < size && data[i + 1] == QLatin1Char('\n'))
            ++i;
        else
            data[kept++] = data[i];
    }
    text.truncate(kept);
}

QString ParseFailure(const QString& strPath, const QString& strDetail)
{
    return Tr("Problem encountered when parsing file '%1'. %2").arg(strPath, strDetail);
}

} // namespace

bool SxmlParser::SetURL(const QString& strPath, QString& strRetMsg)
{
    return SetURL(strPath, KeepInChildren(), strRetMsg);
}

bool SxmlParser::SetURL(const QString& strPath, const RecordSink& take, QString& strRetMsg)
{
    strURL_ = strPath;
    children_.Clear();
    boolOnlyRecords_ = true;

    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        strRetMsg = ParseFailure(strPath, Tr("The file cannot be opened: %1.").arg(file.errorString()));
        return false;
    }
    if (file.size() > kMaxFileSize) {
        strRetMsg = ParseFailure(strPath, Tr("The file is too large to hold records."));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        strRetMsg = ParseFailure(strPath, Tr("The file cannot be read: %1.").arg(file.errorString()));
        return false;
    }
    file.close();
    return ParseText(strPath, DecodeFileText(bytes), take, strRetMsg);
}

bool SxmlParser::ParseText(const QString& strPath, QString strText, QString& strRetMsg)
{
    return ParseText(strPath, std::move(strText), KeepInChildren(), strRetMsg);
}

SxmlParser::RecordSink SxmlParser::KeepInChildren()
{
    return [this](SxmlParserChild& record, bool) { children_.Add(std::move(record)); };
}

// One pass over the text: each record is cut and read before the next is looked for,
// so the work grows with the file and a record handed on can be dropped at once.
bool SxmlParser::ParseText(const QString& strPath, QString strText, const RecordSink& take, QString& strRetMsg)
{
    strURL_ = strPath;
    children_.Clear();
    boolOnlyRecords_ = true;

    RemoveLineBreaks(strText);
    NameCache names;
    QString failure;
    int count = 0;
    qsizetype start = 0;
    for (qsizetype end = strText.indexOf(kRecordEnd); end >= 0; end = strText.indexOf(kRecordEnd, start)) {
        if (count == kMaxRecords) {
            children_.Clear();
            strRetMsg = ParseFailure(strPath, Tr("The file holds more than %1 records.").arg(kMaxRecords));
            return false;
        }
        SxmlParserChild record;
        record.Key = QString::number(count++);
        record.strRecordValue = strText.mid(start, end + kRecordEnd.size() - start);
        const qsizetype tag = record.strRecordValue.indexOf(kRecordStart);
        if (tag < 0 || !IsBlank(QStringView(record.strRecordValue).left(tag)))
            boolOnlyRecords_ = false;
        // After the first bad record the rest are only cut: they keep no attributes.
        bool read = false;
        if (failure.isEmpty()) {
            QString strDetail;
            read = ReadRecord(record, names, strDetail);
            if (!read)
                failure = ParseFailure(strPath, strDetail);
        }
        take(record, read);
        start = end + kRecordEnd.size();
    }
    if (!IsBlank(QStringView(strText).mid(start)))
        boolOnlyRecords_ = false;
    if (!failure.isEmpty()) {
        strRetMsg = failure;
        return false;
    }
    return true;
}

bool ParseRecord(SxmlParserChild& record, QString& strDetail)
{
    NameCache names;
    return ReadRecord(record, names, strDetail);
}

QString EncodeQuotedSpaces(const QString& strText)
{
    bool open = false;
    return EncodeQuotedSpaces(QStringView(strText), open);
}

QString EscapeValue(const QString& strText)
{
    return StripQuotesAndEndTags(strText);
}
