#pragma once

#include "ReaderOutput.h"

#include <QString>

// Why a read of an Access catalog did not complete, as the user is told it.
enum class AccessFailure {
    ReaderMissing,  // the reader program is not there or does not start
    TimedOut,       // the reader was stopped at the time limit (a damaged file, most likely)
    NoMoviesTable,  // an Access file, but without the table Movies
    MissingColumns, // Movies lacks columns the catalog needs
    Damaged,        // libmdb cannot read it: damaged, encrypted or cut short
};

// What a read that did not complete (read.outcome is not Complete) means.
AccessFailure AccessFailureOf(const AccessTableRead &read);

// The words that differ between the import, which reads an Access file, and the start-up
// conversion, which converts one: the rest of each text is the same.
struct AccessFailureWords {
    QString done;          // what cannot be done to the file: "read", "converted"
    QString program;       // what the reader program is called: "reader", "converter"
    QString timeLimit;     // the time limit: "5 minutes"
    QString lackingResult; // after the missing columns: "", ", so it cannot be converted"
};

// The text for a read of the file `name` that did not complete, with the reader program at
// `readerProgram`: "movies.mdb cannot be read: the file appears to be damaged or encrypted."
QString AccessFailureText(const AccessTableRead &read, const QString &name,
                          const QString &readerProgram, const AccessFailureWords &words);
