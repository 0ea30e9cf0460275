#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// One value of an Access table as the reader gives it: libmdb's text, or nothing for NULL.
using AccessValue = std::optional<QString>;
using AccessRow = QList<AccessValue>;

// What a run of reelwarden-mdb-reader gave.
struct AccessTableRead {
    enum class Outcome {
        Complete,      // every row of the table, in the file's order
        ReaderFailed,  // the reader said why it stopped: readerCode and detail
        Malformed,     // the output was cut off or is not the reader's: it crashed or was killed
        ReaderMissing, // the reader program could not be started
        TimedOut,      // the reader was stopped at the time limit
    };
    Outcome outcome = Outcome::Malformed;
    int readerCode = 0;    // a ReaderStream::Code when ReaderFailed
    QString detail;        // the reader's detail when ReaderFailed
    QList<AccessRow> rows; // empty unless Complete
    bool valuesMayBeCut = false;
};

// Reads the reader's standard output, expecting rows of `columnCount` values.
AccessTableRead ParseReaderOutput(const QByteArray &output, int columnCount);
