#include "records/RecordFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <charconv>
#include <cmath>
#include <string>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("Records", text);
}

} // namespace

QString RecordLine(const std::vector<std::pair<QString, QString>>& attributes)
{
    QString line = QStringLiteral("<RECORD ");
    bool first = true;
    for (const auto& [name, value] : attributes) {
        if (!first)
            line += QLatin1Char(' ');
        line += name + QStringLiteral(" = '") + value + QLatin1Char('\'');
        first = false;
    }
    return line + QStringLiteral("></RECORD>");
}

bool ReadRecordFile(const QString& strPath, const SxmlParser::RecordSink& take, QString& strRetMsg)
{
    if (!QFileInfo::exists(strPath))
        return true;
    SxmlParser parser;
    if (!parser.SetURL(strPath, take, strRetMsg))
        return false;
    if (!parser.HoldsOnlyRecords()) {
        strRetMsg = Tr("The file '%1' holds text that is not a complete record; it may be damaged.")
                        .arg(strPath);
        return false;
    }
    return true;
}

bool WriteRecordFile(const QString& strPath, const QByteArray& bytes, QString& strRetMsg)
{
    if (bytes.isEmpty()) {
        QFile file(strPath);
        if (file.exists() && !file.remove()) {
            strRetMsg = Tr("The file '%1' could not be deleted: %2.").arg(strPath, file.errorString());
            return false;
        }
        return true;
    }
    // Unbuffered: a buffered QSaveFile can miss a failure of the final flush and
    // commit a file cut short.
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        strRetMsg = Tr("The file '%1' could not be created: %2.").arg(strPath, file.errorString());
        return false;
    }
    // A short write has no error text; writing the rest brings out the system's reason.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            break;
        written += n;
    }
    if (written != bytes.size() || !file.commit()) {
        strRetMsg = Tr("The file '%1' could not be written: %2.").arg(strPath, file.errorString());
        return false; // the temporary file goes, the old file stays as it was
    }
    return true;
}

bool ReadTextAttribute(const SxmlParserChild& record, const QString& strName, QString& strValue,
                       QString& strRetMsg)
{
    const SxmlChildValue* attribute = record.objSxmlChildValues.Find(strName);
    if (!attribute) {
        strRetMsg = Tr("it has no attribute '%1'").arg(strName);
        return false;
    }
    strValue = attribute->strValue;
    return true;
}

bool ReadKeyAttribute(const SxmlParserChild& record, const QString& strName, qint16 intMin,
                      qint16& intValue, QString& strRetMsg)
{
    QString text;
    if (!ReadTextAttribute(record, strName, text, strRetMsg))
        return false;
    const std::optional<qint16> key = ParseKeyText(text, intMin);
    if (!key) {
        strRetMsg = Tr("its %1 '%2' is not a whole number from %3 to 32767")
                        .arg(strName, text)
                        .arg(intMin);
        return false;
    }
    intValue = *key;
    return true;
}

bool ReadScoreAttribute(const SxmlParserChild& record, const QString& strName, float& fltValue,
                        QString& strRetMsg)
{
    QString text;
    if (!ReadTextAttribute(record, strName, text, strRetMsg))
        return false;
    const std::optional<float> value = ParseScoreText(text);
    if (!value) {
        strRetMsg = Tr("its %1 '%2' is not a number").arg(strName, text);
        return false;
    }
    fltValue = *value;
    return true;
}

std::optional<qint16> ParseKeyText(const QString& strText, qint16 intMin)
{
    bool ok = false;
    const short value = QStringView(strText).trimmed().toShort(&ok, 10);
    if (!ok || value < intMin)
        return std::nullopt;
    return value;
}

std::optional<float> ParseScoreText(const QString& strText)
{
    const QStringView text = QStringView(strText).trimmed();
    // A number is plain ASCII; the comma of some locales is read as the point.
    std::string digits(size_t(text.size()), '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > 0x7F)
            return std::nullopt;
        digits[size_t(i)] = c == u',' ? '.' : char(c);
    }
    float value = 0.0F;
    const char* end = digits.data() + digits.size();
    const auto [ptr, ec] = std::from_chars(digits.data(), end, value);
    if (ec != std::errc() || ptr != end || digits.empty() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString FormatScore(float fltValue)
{
    // Fixed notation: the shortest general form would write small values as "1e-05".
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, fltValue, std::chars_format::fixed);
    if (ec != std::errc())
        return QString::number(fltValue, 'g', 9);
    return QString::fromLatin1(buffer, end - buffer);
}

QString RecordProblemText(const QString& strPath, int intRecord, const QString& strProblem)
{
    return Tr("Record %1 of the file '%2' cannot be read: %3.").arg(intRecord).arg(strPath, strProblem);
}

QString DuplicateKeyText(const QString& strPath, int intRecord, qint16 intKey)
{
    return Tr("Record %1 of the file '%2' cannot be read: its key %3 is already in use.")
        .arg(intRecord)
        .arg(strPath)
        .arg(intKey);
}

QString NotLoadedText(const QString& strPath)
{
    return Tr("The file '%1' was not read successfully, so it is not overwritten.").arg(strPath);
}

QString NoDataFolderText()
{
    return Tr("The folder for this user's data cannot be created.");
}

QString NoKeyLeftText()
{
    return Tr("Every key up to 32767 has been used, so nothing more can be added.");
}
