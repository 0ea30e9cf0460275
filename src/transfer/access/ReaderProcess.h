#pragma once

#include "ReaderOutput.h"

#include <QString>
#include <QStringList>

inline constexpr char kReaderProgramName[] = "reelwarden-mdb-reader";

// The reader program in the folder of the program.
QString ReaderProgramPath(const QString &programFolder);

// Runs the reader program (reelwarden-mdb-reader) on the Access file at `path` for `table`
// and `columns`, and gives its rows. The reader's standard error (libmdb's diagnostics) is
// discarded. After `timeoutMs` the reader is killed and the outcome is TimedOut: libmdb can
// loop forever on a damaged file. While it waits, the calling thread's event loop keeps
// running (user input excluded), so a window on screen goes on painting.
AccessTableRead ReadAccessTable(const QString &readerProgram, const QString &path,
                                const QString &table, const QStringList &columns, int timeoutMs);

// ReadAccessTable of the Movies table of a catalog of the earlier Windows version, with the
// columns the catalog keeps (AccessColumns::kMovieColumns), in their order.
AccessTableRead ReadMoviesTable(const QString &readerProgram, const QString &path, int timeoutMs);
