#include "records/SxmlParser.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Parsed {
    SxmlParser parser;
    bool ok = false;
    QString message;
    const SxmlParserChild& Record(int position) const { return parser.children().Item(position); }
    // Each record's attributes in file order, as {name=value|name=value}.
    QString Text() const
    {
        QString text;
        for (const SxmlParserChild& record : parser.children()) {
            QStringList attributes;
            for (const SxmlChildValue& value : record.objSxmlChildValues)
                attributes << value.Key + QLatin1Char('=') + value.strValue;
            text += QLatin1Char('{') + attributes.join(QLatin1Char('|')) + QLatin1Char('}');
        }
        return text;
    }
};

Parsed Parse(const QString& text)
{
    Parsed result;
    result.ok = result.parser.ParseText(QStringLiteral("/data/Learners.dat"), text, result.message);
    return result;
}

} // namespace

// Attribute names match without regard to case, so the same name twice in any case is a fault.
TEST(SxmlParser, AttributesAreFoundByNameInAnyCase)
{
    const Parsed named = Parse(QStringLiteral("<RECORD learnerKey = '5'></RECORD>"));
    EXPECT_EQ(named.Text(), QStringLiteral("{learnerKey=5}"));
    EXPECT_EQ(named.Record(1).getAttribute(QStringLiteral("LEARNERKEY")), QStringLiteral("5"));
    EXPECT_EQ(named.Record(1).objSxmlChildValues.Find(QStringLiteral("lessonKey")), nullptr);
    EXPECT_THROW(named.Record(1).getAttribute(QStringLiteral("lessonKey")), CollectionError);
}

// What the grammar reads: quotes of both kinds, quotes inside hand-edited values (dropped
// like every quote, neither swallowing the next attribute nor cutting the value short),
// escaped spaces, CR LF pairs removed everywhere while a lone CR or LF stays, and what it
// passes over. Text around the records is read past but reported as damage.
TEST(SxmlParser, WhatTheGrammarReads)
{
    struct Case {
        const char* text;
        const char* read;
        bool onlyRecords = true;
    };
    const Case cases[] = {
        {"<RECORD key = '3' name = 'Evening group'></RECORD>\r\n<RECORD key = '4' name = 'Ann'></RECORD>\r\n",
         "{key=3|name=Evening group}{key=4|name=Ann}"},
        {"<RECORD a = \"x y\" b = 'z' c = 'mixed\"></RECORD>", "{a=x y|b=z|c=mixed}"},
        {"<RECORD name = 'rock'n'roll'></RECORD>", "{name=rocknroll}"},
        {"<RECORD key = '1' name = 'Ann O'Brien'></RECORD>", "{key=1|name=Ann OBrien}"},
        {"<RECORD name = 'Ann O'Brien' key = '3'></RECORD>", "{name=Ann OBrien|key=3}"},
        {"<RECORD key = '4' name = 'The Smiths' new band'></RECORD>", "{key=4|name=The Smiths new band}"},
        {"<RECORD name = 'Rock 'n' roll' key = '5'></RECORD>", "{name=Rock n roll|key=5}"},
        {"<RECORD a = \"Say \"hi\" now\" b = 'x'></RECORD>", "{a=Say hi now|b=x}"},
        {"<RECORD a = 'O'Brien'  = 'x'></RECORD>", "{a=OBrien|=x}"},
        {"<RECORD a = 'it's' stray></RECORD>", "{a=its}"},
        {"<RECORD name = 'Ann O'Brien' key = 3></RECORD>", "{name=Ann OBrien}"}, // unquoted tail passed over
        {"<RECORD name = 'a&#20;b  c'></RECORD>", "{name=a b  c}"},
        {"<RECORD key = '1'\r\n name = 'Ev\r\nening'>\r\n</RECORD>", "{key=1|name=Evening}"},
        {"<RECORD name = 'a\nb\rc'></RECORD>\n<RECORD key = '2'></RECORD>\n", "{name=a\nb\rc}{key=2}"},
        {"<RECORD key = '1' name = 'x' stray></RECORD>", "{key=1|name=x}"},
        {"<RECORD key = 1></RECORD>", "{}"},            // no quote at all: no attribute
        {"<RECORD key = '1' name =></RECORD>", "{key=1}"}, // a last name without a value
        {"", ""},
        {" \r\n\t", ""},
        {"<RECORD key = '1'>", "", false},
        {"<record key = '1'></record>", "", false},
        {"<RECORD key = '1'></RECORD><RECORD key = '2' na", "{key=1}", false},
        {"junk<RECORD key = '1'></RECORD>", "{key=1}", false},
        {"\x01\x02 binary", "", false},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(QString::fromUtf8(c.text));
        ASSERT_TRUE(p.ok) << c.text << ": " << p.message.toStdString();
        EXPECT_EQ(p.Text(), QString::fromUtf8(c.read)) << c.text;
        EXPECT_EQ(p.parser.HoldsOnlyRecords(), c.onlyRecords) << c.text;
    }
}

// Each fault stops the parse with its own text; a quote inside a value hides none.
TEST(SxmlParser, FormatFaultsGiveTheirDetailText)
{
    const char* const endQuote = "The ending ' missing from a value field in data file.";
    const char* const startQuote = "The starting ' missing from a value field in data file.";
    const char* const equals = "A '=' tag is out of place in data file.";
    const char* const tags = "RECORD tags are missing in data file.";
    const std::pair<const char*, const char*> cases[] = {
        {"<RECORD key = '1' name = 'Bob></RECORD>", endQuote},
        {"<RECORD key = '1' name = 'Bob O'Neil></RECORD>", endQuote},
        {"<RECORD key = '1' name = '></RECORD>", endQuote},
        {"<RECORD key = '1' 'name></RECORD>", endQuote},
        {"<RECORD key = 1 name = 'x'></RECORD>", startQuote},
        {"<RECORD key = 1 name = 'Ann O'Brien'></RECORD>", startQuote},
        {"<RECORD name = 'Ann O'Brien' key = 3 lesson = '2'></RECORD>", startQuote},
        {"<RECORD key  = '1'></RECORD>", equals},
        {"<RECORD name = 'Ann O'Brien' key  = '3'></RECORD>", equals},
        {"key = '1'></RECORD>", tags},
        {"<record key = '1'></RECORD>", tags},
        {"<RECORD key = '1'>x</RECORD>", tags},
        {"<RECORD></RECORD>", "A RECORD has no room for attributes in data file."},
        {"<RECORD key = '1' KEY = '2'></RECORD>", "The attribute 'KEY' is given twice in a record in data file."},
    };
    for (const auto& [text, detail] : cases) {
        const Parsed p = Parse(QString::fromUtf8(text));
        EXPECT_FALSE(p.ok) << text;
        EXPECT_EQ(p.message, QStringLiteral("Problem encountered when parsing file '/data/Learners.dat'. ")
                                 + QString::fromUtf8(detail))
            << text;
    }
    // The records after the bad one keep no attributes.
    const Parsed p = Parse(QStringLiteral("<RECORD a = '1'></RECORD><RECORD b  = '2'></RECORD><RECORD c = '3'></RECORD>"));
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.Text(), QStringLiteral("{a=1}{}{}"));
}

TEST(SxmlParser, ReadsFilesAsUtf8OrLatin1AndNamesThoseItCannotRead)
{
    QTemporaryDir dir;
    const auto write = [&dir](const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(QLatin1String(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QString utf8 = write("utf8.dat", "\xEF\xBB\xBF<RECORD name = 'Zo\xC3\xAB \xE2\x99\xAA'></RECORD>\r\n");
    const QString latin1 = write("latin1.dat", "<RECORD name = 'Zo\xEB'></RECORD>\r\n");
    SxmlParser parser;
    QString message;
    ASSERT_TRUE(parser.SetURL(utf8, message)) << message.toStdString();
    EXPECT_EQ(parser.URL(), utf8);
    EXPECT_TRUE(parser.HoldsOnlyRecords());
    EXPECT_EQ(parser.children().Item(1).getAttribute(QStringLiteral("name")), QStringLiteral("Zo\u00EB \u266A"));
    ASSERT_TRUE(parser.SetURL(latin1, message)) << message.toStdString();
    EXPECT_EQ(parser.children().Item(1).getAttribute(QStringLiteral("name")), QStringLiteral("Zo\u00EB"));

    EXPECT_FALSE(parser.SetURL(dir.filePath(QStringLiteral("missing.dat")), message));
    EXPECT_TRUE(message.contains(QStringLiteral("missing.dat"))) << message.toStdString();
    message.clear();
    EXPECT_FALSE(parser.SetURL(dir.path(), message)); // a folder
    EXPECT_FALSE(message.isEmpty());
}
