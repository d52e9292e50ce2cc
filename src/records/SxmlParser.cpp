#include "records/SxmlParser.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>
#include <QStringList>

#include <utility>

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

bool StartsWithQuote(const QString& token)
{
    return !token.isEmpty() && IsQuote(token.front());
}

bool EndsWithQuote(const QString& token)
{
    return !token.isEmpty() && IsQuote(token.back());
}

// A single quote closes first; a double quote only where no single quote follows.
qsizetype NextQuote(const QString& text, qsizetype start)
{
    const qsizetype single = text.indexOf(QLatin1Char('\''), start);
    return single >= 0 ? single : text.indexOf(QLatin1Char('"'), start);
}

bool IsBlank(QStringView text)
{
    for (const QChar c : text)
        if (!c.isSpace())
            return false;
    return true;
}

QString DecodeValue(QString value)
{
    value.replace(kEscapedSpace, QStringLiteral(" "));
    value.remove(QLatin1Char('"'));
    value.remove(QLatin1Char('\''));
    return value;
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

// As EncodeQuotedSpaces; open tells whether the text ends inside a quoted value.
QString EncodeQuotedSpaces(const QString& strText, bool& open)
{
    QString result;
    qsizetype start = 0;
    open = false;
    for (qsizetype q = NextQuote(strText, 0); q >= 0; q = NextQuote(strText, start)) {
        QString piece = strText.mid(start, q - start + 1);
        if (open)
            piece.replace(QLatin1Char(' '), kEscapedSpace);
        result += piece;
        start = q + 1;
        open = !open;
    }
    return result;
}

QString ParseFailure(const QString& strPath, const QString& strDetail)
{
    return Tr("Problem encountered when parsing file '%1'. %2").arg(strPath, strDetail);
}

} // namespace

bool SxmlParser::SetURL(const QString& strPath, QString& strRetMsg)
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
    return ParseText(strPath, DecodeFileText(bytes), strRetMsg);
}

bool SxmlParser::ParseText(const QString& strPath, QString strText, QString& strRetMsg)
{
    strURL_ = strPath;
    children_.Clear();
    boolOnlyRecords_ = true;

    strText.remove(QStringLiteral("\r\n"));
    qsizetype start = 0;
    for (qsizetype end = strText.indexOf(kRecordEnd); end >= 0;
         end = strText.indexOf(kRecordEnd, start)) {
        if (children_.Count() == kMaxRecords) {
            children_.Clear();
            strRetMsg = ParseFailure(strPath, Tr("The file holds more than %1 records.").arg(kMaxRecords));
            return false;
        }
        SxmlParserChild child;
        child.Key = QString::number(children_.Count());
        child.strRecordValue = strText.mid(start, end + kRecordEnd.size() - start);
        const qsizetype tag = child.strRecordValue.indexOf(kRecordStart);
        if (tag < 0 || !IsBlank(QStringView(child.strRecordValue).left(tag)))
            boolOnlyRecords_ = false;
        children_.Add(std::move(child));
        start = end + kRecordEnd.size();
    }
    if (!IsBlank(QStringView(strText).mid(start)))
        boolOnlyRecords_ = false;

    for (SxmlParserChild& child : children_) {
        QString strDetail;
        if (!ParseRecord(child, strDetail)) {
            strRetMsg = ParseFailure(strPath, strDetail);
            return false;
        }
    }
    return true;
}

bool ParseRecord(SxmlParserChild& record, QString& strDetail)
{
    const QString& text = record.strRecordValue;
    const qsizetype tag = text.indexOf(kRecordStart);
    const qsizetype attributesEnd = text.indexOf(kAttributesEnd);
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
    const QString inner = EncodeQuotedSpaces(text.mid(first, attributesEnd - first), open);
    // An opening quote that is never closed means a value was cut short; reading it as
    // an empty value would lose it at the next save.
    if (open) {
        strDetail = Tr("The ending ' missing from a value field in data file.");
        return false;
    }
    if (inner.isEmpty())
        return true;

    const QStringList tokens = inner.split(QLatin1Char(' '));
    enum { Name, Equals, Value } state = Name;
    QString name;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const QString& token = tokens[i];
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
        case Value: {
            if (!StartsWithQuote(token)) {
                strDetail = Tr("The starting ' missing from a value field in data file.");
                return false;
            }
            QString value = token;
            while (!EndsWithQuote(value)) {
                if (++i >= tokens.size()) {
                    strDetail = Tr("The ending ' missing from a value field in data file.");
                    return false;
                }
                value += QLatin1Char(' ') + tokens[i];
            }
            try {
                record.objSxmlChildValues.Add({name, DecodeValue(value)});
            } catch (const CollectionError&) {
                strDetail = Tr("The attribute '%1' is given twice in a record in data file.").arg(name);
                return false;
            }
            state = Name;
            break;
        }
        }
    }
    // A last name without "=" or without a value adds nothing.
    return true;
}

QString EncodeQuotedSpaces(const QString& strText)
{
    bool open = false;
    return EncodeQuotedSpaces(strText, open);
}

QString EscapeValue(const QString& strText)
{
    QString value = strText;
    value.remove(QLatin1Char('\''));
    value.remove(QLatin1Char('"'));
    while (value.contains(kRecordEnd))
        value.remove(kRecordEnd);
    return value;
}
