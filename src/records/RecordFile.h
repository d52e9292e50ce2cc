#pragma once
// What the learner and score stores share: reading a record file, replacing it safely,
// the attribute conversions and the stores' messages.

#include "records/SxmlParser.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>
#include <vector>

// "<RECORD name = 'value' name = 'value'></RECORD>", without line end. Values are
// written as given: free text must have gone through EscapeValue.
QString RecordLine(const std::vector<std::pair<QString, QString>>& attributes);

// Parses the file at strPath, handing each record to take as it is read. A missing
// file is an empty store: true with no records. Fails on anything the parser rejects
// and on text outside the records (a file cut short or not a record file at all).
bool ReadRecordFile(const QString& strPath, const SxmlParser::RecordSink& take, QString& strRetMsg);

// Replaces the file with bytes through a temporary file renamed over it, so a failed
// write leaves the old file whole. Empty bytes remove the file.
bool WriteRecordFile(const QString& strPath, const QByteArray& bytes, QString& strRetMsg);

// Attribute readers for one record; on failure strRetMsg says what is wrong with it.
bool ReadTextAttribute(const SxmlParserChild& record, const QString& strName, QString& strValue,
                       QString& strRetMsg);
// A decimal whole number from intMin to 32767.
bool ReadKeyAttribute(const SxmlParserChild& record, const QString& strName, qint16 intMin,
                      qint16& intValue, QString& strRetMsg);
// A finite decimal number; a comma is read as the decimal point.
bool ReadScoreAttribute(const SxmlParserChild& record, const QString& strName, float& fltValue,
                        QString& strRetMsg);

std::optional<qint16> ParseKeyText(const QString& strText, qint16 intMin);
std::optional<float> ParseScoreText(const QString& strText);
// The shortest decimal text that reads back as the same float, never with an exponent:
// 0.875, 1, 0.16666667.
QString FormatScore(float fltValue);

// Messages of the stores.
QString RecordProblemText(const QString& strPath, int intRecord, const QString& strProblem);
QString DuplicateKeyText(const QString& strPath, int intRecord, qint16 intKey);
QString NotLoadedText(const QString& strPath);
QString NoDataFolderText();
QString NoKeyLeftText();
