#include "doubles/MessageRecorder.h"

#include "records/SxmlParser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

const QString kPath = QStringLiteral("/data/Learners.dat");

QString ProblemText(const QString& detail)
{
    return QStringLiteral("Problem encountered when parsing file '/data/Learners.dat'. ") + detail;
}

// Parses text and returns the parser; ok and message tell how it went.
struct Parsed {
    SxmlParser parser;
    bool ok = false;
    QString message;
    int Count() const { return parser.children().Count(); }
    const SxmlParserChild& Record(int position) const { return parser.children().Item(position); }
};

Parsed Parse(const QString& text)
{
    Parsed result;
    result.ok = result.parser.ParseText(kPath, text, result.message);
    return result;
}

} // namespace

TEST(SxmlParser, ReadsTheLinesThisProgramWrites)
{
    const Parsed p = Parse(QStringLiteral("<RECORD key = '3' name = 'Evening group'></RECORD>\r\n"
                                          "<RECORD key = '4' name = 'Ann'></RECORD>\r\n"));
    ASSERT_TRUE(p.ok) << p.message.toStdString();
    EXPECT_TRUE(p.parser.HoldsOnlyRecords());
    ASSERT_EQ(p.parser.children().length(), 2);
    EXPECT_EQ(p.Record(1).Key, QStringLiteral("0"));
    EXPECT_EQ(p.Record(2).Key, QStringLiteral("1"));
    EXPECT_EQ(p.Record(1).strRecordValue,
              QStringLiteral("<RECORD key = '3' name = 'Evening group'></RECORD>"));
    EXPECT_EQ(p.Record(1).getAttribute(QStringLiteral("key")), QStringLiteral("3"));
    EXPECT_EQ(p.Record(1).getAttribute(QStringLiteral("name")), QStringLiteral("Evening group"));
    EXPECT_EQ(p.Record(2).getAttribute(QStringLiteral("name")), QStringLiteral("Ann"));
    // Attributes keep the order and spelling of the file.
    const SxmlChildValues& values = p.Record(1).objSxmlChildValues;
    ASSERT_EQ(values.Count(), 2);
    EXPECT_EQ(values.Item(1).Key, QStringLiteral("key"));
    EXPECT_EQ(values.Item(2).Key, QStringLiteral("name"));
}

TEST(SxmlParser, QuotesOfBothKindsOpenAndCloseValues)
{
    const Parsed p = Parse(QStringLiteral("<RECORD a = \"x y\" b = 'z' c = 'mixed\"></RECORD>"));
    ASSERT_TRUE(p.ok) << p.message.toStdString();
    EXPECT_EQ(p.Record(1).getAttribute(QStringLiteral("a")), QStringLiteral("x y"));
    EXPECT_EQ(p.Record(1).getAttribute(QStringLiteral("b")), QStringLiteral("z"));
    EXPECT_EQ(p.Record(1).getAttribute(QStringLiteral("c")), QStringLiteral("mixed"));

    // Quote characters inside a value are dropped.
    const Parsed inside = Parse(QStringLiteral("<RECORD name = 'rock'n'roll'></RECORD>"));
    ASSERT_TRUE(inside.ok) << inside.message.toStdString();
    EXPECT_EQ(inside.Record(1).getAttribute(QStringLiteral("name")), QStringLiteral("rocknroll"));
}

// Files edited by hand: a quote inside a value is dropped with the value's own quotes,
// and it neither swallows the next attribute nor cuts the value short.
TEST(SxmlParser, QuotesInsideAValueStayInIt)
{
    struct Case {
        const char* text;
        std::vector<std::pair<const char*, const char*>> attributes;
    };
    const Case cases[] = {
        {"<RECORD key = '1' name = 'Ann O'Brien'></RECORD>", {{"key", "1"}, {"name", "Ann OBrien"}}},
        {"<RECORD name = 'Ann O'Brien' key = '3'></RECORD>", {{"name", "Ann OBrien"}, {"key", "3"}}},
        {"<RECORD key = '4' name = 'The Smiths' new band'></RECORD>", {{"key", "4"}, {"name", "The Smiths new band"}}},
        {"<RECORD name = 'Rock 'n' roll' key = '5'></RECORD>", {{"name", "Rock n roll"}, {"key", "5"}}},
        {"<RECORD a = \"Say \"hi\" now\" b = 'x'></RECORD>", {{"a", "Say hi now"}, {"b", "x"}}},
        {"<RECORD a = 'O'Brien'  = 'x'></RECORD>", {{"a", "OBrien"}, {"", "x"}}},
        {"<RECORD a = 'it's' stray></RECORD>", {{"a", "its"}}},
        {"<RECORD name = 'Ann O'Brien' key = 3></RECORD>", {{"name", "Ann OBrien"}}}, // unquoted tail passed over
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(QString::fromUtf8(c.text));
        ASSERT_TRUE(p.ok) << c.text << ": " << p.message.toStdString();
        const SxmlChildValues& values = p.Record(1).objSxmlChildValues;
        ASSERT_EQ(values.Count(), int(c.attributes.size())) << c.text;
        for (size_t i = 0; i < c.attributes.size(); ++i) {
            EXPECT_EQ(values.Item(int(i) + 1).Key, QString::fromUtf8(c.attributes[i].first)) << c.text;
            EXPECT_EQ(values.Item(int(i) + 1).strValue, QString::fromUtf8(c.attributes[i].second)) << c.text;
        }
    }
}

// A quote inside a value does not hide the faults around it, and a value whose
// closing quote is really missing is still refused.
TEST(SxmlParser, QuotesInsideAValueDoNotHideFaults)
{
    struct Case {
        const char* text;
        const char* detail;
    };
    const Case cases[] = {
        {"<RECORD key = '1' name = 'Bob O'Neil></RECORD>", "The ending ' missing from a value field in data file."},
        {"<RECORD key = '1' name = '></RECORD>", "The ending ' missing from a value field in data file."},
        {"<RECORD key = '1' 'name></RECORD>", "The ending ' missing from a value field in data file."},
        {"<RECORD key = 1 name = 'Ann O'Brien'></RECORD>", "The starting ' missing from a value field in data file."},
        {"<RECORD key = 1 name = 'Ann></RECORD>", "The starting ' missing from a value field in data file."},
        {"<RECORD name = 'Ann O'Brien' key = 3 lesson = '2'></RECORD>",
         "The starting ' missing from a value field in data file."},
        {"<RECORD name = 'Ann O'Brien' key  = '3'></RECORD>", "A '=' tag is out of place in data file."},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(QString::fromUtf8(c.text));
        EXPECT_FALSE(p.ok) << c.text;
        EXPECT_EQ(p.message, ProblemText(QString::fromUtf8(c.detail))) << c.text;
    }
}

TEST(SxmlParser, EscapedSpacesAndLineBreaks)
{
    const Parsed escaped = Parse(QStringLiteral("<RECORD name = 'a&#20;b  c'></RECORD>"));
    ASSERT_TRUE(escaped.ok);
    EXPECT_EQ(escaped.Record(1).getAttribute(QStringLiteral("name")), QStringLiteral("a b  c"));

    // CR LF pairs vanish everywhere: a record may be split over lines, also inside a value.
    const Parsed split = Parse(QStringLiteral("<RECORD key = '1'\r\n name = 'Ev\r\nening'>\r\n</RECORD>"));
    ASSERT_TRUE(split.ok) << split.message.toStdString();
    ASSERT_EQ(split.Count(), 1);
    EXPECT_EQ(split.Record(1).getAttribute(QStringLiteral("name")), QStringLiteral("Evening"));

    // A lone CR or LF stays, in a value and between records.
    const Parsed lone = Parse(QStringLiteral("<RECORD name = 'a\nb\rc'></RECORD>\n<RECORD key = '2'></RECORD>\n"));
    ASSERT_TRUE(lone.ok);
    ASSERT_EQ(lone.Count(), 2);
    EXPECT_EQ(lone.Record(1).getAttribute(QStringLiteral("name")), QStringLiteral("a\nb\rc"));
    EXPECT_TRUE(lone.parser.HoldsOnlyRecords());
}

TEST(SxmlParser, AttributeNamesMatchWithoutRegardToCase)
{
    const Parsed p = Parse(QStringLiteral("<RECORD learnerKey = '5'></RECORD>"));
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.Record(1).getAttribute(QStringLiteral("LEARNERKEY")), QStringLiteral("5"));
    EXPECT_EQ(p.Record(1).objSxmlChildValues.Item(QStringLiteral("learnerkey")).Key,
              QStringLiteral("learnerKey"));
    EXPECT_EQ(p.Record(1).objSxmlChildValues.Find(QStringLiteral("lessonKey")), nullptr);
    EXPECT_THROW(p.Record(1).getAttribute(QStringLiteral("lessonKey")), CollectionError);

    // So the same name twice, in any case, is a fault.
    const Parsed twice = Parse(QStringLiteral("<RECORD key = '1' KEY = '2'></RECORD>"));
    EXPECT_FALSE(twice.ok);
    EXPECT_EQ(twice.message, ProblemText(QStringLiteral("The attribute 'KEY' is given twice in a record in data file.")));
}

TEST(SxmlParser, FormatFaultsGiveTheirDetailText)
{
    struct Case {
        const char* text;
        const char* detail;
    };
    const Case cases[] = {
        {"<RECORD key  = '1'></RECORD>", "A '=' tag is out of place in data file."},
        {"<RECORD key = 1 name = 'x'></RECORD>", "The starting ' missing from a value field in data file."},
        {"<RECORD key = '1' name = 'Bob></RECORD>", "The ending ' missing from a value field in data file."},
        {"key = '1'></RECORD>", "RECORD tags are missing in data file."},
        {"<record key = '1'></RECORD>", "RECORD tags are missing in data file."},
        {"<RECORD key = '1'>x</RECORD>", "RECORD tags are missing in data file."},
        {"<RECORD></RECORD>", "A RECORD has no room for attributes in data file."},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(QString::fromUtf8(c.text));
        EXPECT_FALSE(p.ok) << c.text;
        EXPECT_EQ(p.message, ProblemText(QString::fromUtf8(c.detail))) << c.text;
    }
}

TEST(SxmlParser, TheFirstBadRecordStopsTheParse)
{
    const Parsed p = Parse(QStringLiteral("<RECORD a = '1'></RECORD>"
                                          "<RECORD b  = '2'></RECORD>"
                                          "<RECORD c = '3'></RECORD>"));
    EXPECT_FALSE(p.ok);
    ASSERT_EQ(p.Count(), 3);
    EXPECT_EQ(p.Record(1).objSxmlChildValues.Count(), 1);
    EXPECT_EQ(p.Record(3).objSxmlChildValues.Count(), 0);
}

TEST(SxmlParser, WhatTheGrammarPassesOver)
{
    // No records: empty text, no closing tag, lower-case tags.
    for (const char* text : {"", "<RECORD key = '1'>", "<record key = '1'></record>"}) {
        const Parsed p = Parse(QString::fromUtf8(text));
        EXPECT_TRUE(p.ok) << text;
        EXPECT_EQ(p.Count(), 0) << text;
    }
    // Text after the last quote is lost, the attributes before it stay.
    const Parsed stray = Parse(QStringLiteral("<RECORD key = '1' name = 'x' stray></RECORD>"));
    ASSERT_TRUE(stray.ok);
    EXPECT_EQ(stray.Record(1).objSxmlChildValues.Count(), 2);
    // Values without any quote encode to nothing: a record without attributes.
    const Parsed bare = Parse(QStringLiteral("<RECORD key = 1></RECORD>"));
    ASSERT_TRUE(bare.ok);
    EXPECT_EQ(bare.Record(1).objSxmlChildValues.Count(), 0);
    // A last name without "=" or value adds nothing.
    const Parsed open = Parse(QStringLiteral("<RECORD key = '1' name =></RECORD>"));
    ASSERT_TRUE(open.ok);
    EXPECT_EQ(open.Record(1).objSxmlChildValues.Count(), 1);
}

TEST(SxmlParser, TextAroundTheRecordsIsReportedAsDamage)
{
    EXPECT_TRUE(Parse(QStringLiteral(" \r\n\t")).parser.HoldsOnlyRecords());
    EXPECT_FALSE(Parse(QStringLiteral("<RECORD key = '1'></RECORD><RECORD key = '2' na"))
                     .parser.HoldsOnlyRecords());
    EXPECT_FALSE(Parse(QStringLiteral("junk<RECORD key = '1'></RECORD>")).parser.HoldsOnlyRecords());
    EXPECT_FALSE(Parse(QStringLiteral("\x01\x02 binary")).parser.HoldsOnlyRecords());
}

TEST(SxmlParser, EncodeQuotedSpaces)
{
    EXPECT_EQ(EncodeQuotedSpaces(QStringLiteral("a = 'b c' d = 'e f' tail")),
              QStringLiteral("a = 'b&#20;c' d = 'e&#20;f'"));
    EXPECT_EQ(EncodeQuotedSpaces(QStringLiteral("a = \"b c\"")), QStringLiteral("a = \"b&#20;c\""));
    EXPECT_EQ(EncodeQuotedSpaces(QStringLiteral("no quotes at all")), QString());
}

TEST(SxmlParser, EscapeValueKeepsAValueInsideItsRecord)
{
    EXPECT_EQ(EscapeValue(QStringLiteral("Say \"hi\" it's me")), QStringLiteral("Say hi its me"));
    EXPECT_EQ(EscapeValue(QStringLiteral("a</RECORD>b")), QStringLiteral("ab"));
    EXPECT_EQ(EscapeValue(QStringLiteral("</REC</RECORD>ORD>x")), QStringLiteral("x"));
    EXPECT_EQ(EscapeValue(QStringLiteral("<3 Anna & Bob")), QStringLiteral("<3 Anna & Bob"));
}

TEST(SxmlParser, ReadsFilesAsUtf8OrLatin1)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString utf8Path = dir.filePath(QStringLiteral("utf8.dat"));
    const QString latin1Path = dir.filePath(QStringLiteral("latin1.dat"));
    QFile utf8(utf8Path);
    ASSERT_TRUE(utf8.open(QIODevice::WriteOnly));
    utf8.write("\xEF\xBB\xBF<RECORD name = 'Zo\xC3\xAB \xE2\x99\xAA'></RECORD>\r\n");
    utf8.close();
    QFile latin1(latin1Path);
    ASSERT_TRUE(latin1.open(QIODevice::WriteOnly));
    latin1.write("<RECORD name = 'Zo\xEB'></RECORD>\r\n");
    latin1.close();

    SxmlParser parser;
    QString message;
    ASSERT_TRUE(parser.SetURL(utf8Path, message)) << message.toStdString();
    EXPECT_EQ(parser.URL(), utf8Path);
    EXPECT_TRUE(parser.HoldsOnlyRecords());
    EXPECT_EQ(parser.children().Item(1).getAttribute(QStringLiteral("name")),
              QStringLiteral("Zo\u00EB \u266A"));
    ASSERT_TRUE(parser.SetURL(latin1Path, message)) << message.toStdString();
    EXPECT_EQ(parser.children().Item(1).getAttribute(QStringLiteral("name")), QStringLiteral("Zo\u00EB"));
}

TEST(SxmlParser, UnreadableFilesFail)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SxmlParser parser;
    QString message;
    EXPECT_FALSE(parser.SetURL(dir.filePath(QStringLiteral("missing.dat")), message));
    EXPECT_TRUE(message.contains(QStringLiteral("missing.dat"))) << message.toStdString();
    message.clear();
    EXPECT_FALSE(parser.SetURL(dir.path(), message)); // a folder
    EXPECT_FALSE(message.isEmpty());
}
