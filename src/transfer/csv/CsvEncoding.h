#pragma once

#include <QFile>
#include <QString>

// The text encoding of a whole CSV file, decided before any of it is read as text.
enum class CsvEncoding { Utf8, Utf16LE, Utf16BE, Windows1252 };

// Reads `file` through once and puts it back at its start. A UTF-16 byte-order mark gives
// UTF-16; a file that is valid UTF-8 (a byte-order mark or none) UTF-8; a file holding no valid
// UTF-8 sequence of two or more bytes Windows-1252. A file with both such a sequence and a byte
// UTF-8 cannot hold is refused with a TransferError naming `name` and the line of that byte.
CsvEncoding DetectCsvEncoding(QFile &file, const QString &name);

// "UTF-8", "UTF-16", "Windows-1252": for the summary.
QString CsvEncodingName(CsvEncoding encoding);
