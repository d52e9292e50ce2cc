#pragma once
// The record file format of the learner and score files: one RECORD element per line,
// attributes with quoted values, e.g.
//
//     <RECORD key = '3' name = 'Evening group'></RECORD>
//
// The reader removes every CR LF pair first, cuts the text after each "</RECORD>" and
// reads each record's attributes as: name SP "=" SP value, separated by single
// spaces. A value is quoted with "'" or a double quote (either closes either); inside
// a value "&#20;" stands for a space. Tags are matched case-sensitively.
//
// Files edited by hand may hold quotes inside a value ('Ann O'Brien'). A quote closes
// its value only where the attribute text ends or a space and then the next attribute
// or unquoted trailing text follow; other quotes belong to the value and are dropped
// from it like every quote ("Ann OBrien").
//
// Writers quote values with "'" and pass free text through EscapeValue.

#include "core/Collection.h"
#include "records/SxmlChildValues.h"

#include <QString>

#include <functional>

// One record of a parsed file.
class SxmlParserChild {
public:
    QString Key;            // position in the file counted from 0, as decimal text
    QString strRecordValue; // the record text up to and including "</RECORD>"
    SxmlChildValues objSxmlChildValues;

    // Throws CollectionError when the record has no attribute of that name.
    QString getAttribute(const QString& name) const { return objSxmlChildValues.getAttribute(name); }
};

// The records of a file in file order, by 1-based position.
class SxmlParserChildren : public Collection<SxmlParserChild> {
public:
    int length() const { return Count(); }
};

class SxmlParser {
public:
    // Receives each record in file order as soon as it has been read; read is false for
    // the bad record and those after it, which keep no attributes. The record may be
    // moved from.
    using RecordSink = std::function<void(SxmlParserChild& record, bool read)>;

    // Reads and parses the file at strPath, replacing the records of any earlier parse.
    // False, with "Problem encountered when parsing file '<path>'. <detail>", when the
    // file cannot be read, is larger than 64 MB, holds more than 32767 records (more
    // than there are keys) or a record is malformed; the parse stops at the first bad
    // record and the records after it keep no attributes.
    bool SetURL(const QString& strPath, QString& strRetMsg);
    // As SetURL, but hands each record to take instead of keeping it in children(), so
    // a reader that converts records as they come never holds the whole file twice.
    bool SetURL(const QString& strPath, const RecordSink& take, QString& strRetMsg);
    // Parses text as if read from a file at strPath (the path only names it in messages).
    bool ParseText(const QString& strPath, QString strText, QString& strRetMsg);
    bool ParseText(const QString& strPath, QString strText, const RecordSink& take, QString& strRetMsg);

    const QString& URL() const { return strURL_; }
    const SxmlParserChildren& children() const { return children_; }

    // True when the text holds nothing but records and white space. Text around the
    // records is ignored by the grammar, but in a file this program wrote it means damage,
    // such as a last record cut short.
    bool HoldsOnlyRecords() const { return boolOnlyRecords_; }

private:
    RecordSink KeepInChildren();

    QString strURL_;
    SxmlParserChildren children_;
    bool boolOnlyRecords_ = true;
};

// Reads the attributes of record.strRecordValue into record.objSxmlChildValues. False,
// with the reason in strDetail, when the tags, an "=" or a quote is missing or out of
// place, when the tags leave no room for attributes or when a name is given twice.
// The attributes before the fault stay.
bool ParseRecord(SxmlParserChild& record, QString& strDetail);

// Replaces every space inside a quoted value of text by "&#20;" so that each value
// becomes one token. Text after the last value is dropped; text without any quote
// character gives an empty result. A value left open runs to the end of the text.
QString EncodeQuotedSpaces(const QString& strText);

// Makes free text safe as a quoted value: removes every "'" and double quote, and any
// "</RECORD>" that would cut the record short.
QString EscapeValue(const QString& strText);
