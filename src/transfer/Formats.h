#pragma once

#include "CsvFormat.h"
#include "MovieRow.h"

#include <memory>
#include <optional>

enum class FileFormat { Csv, Tellico, TellicoXml, Gcstar, Access, Html, Reelwarden };

// The format a --format name ("csv", "tc", "xml", "gcs", "mdb", "html", letter case aside)
// or, when `name` is empty, a file's extension stands for; nothing for an unknown one.
std::optional<FileFormat> FormatNamed(const QString &name, const QString &path);

// The format of the file at `path` for reading: a Reelwarden catalog or backup (an SQLite file
// with the catalog's Movies table) whatever its name, unless `name` asks for another format;
// otherwise FormatNamed. A .mdb file is a catalog of the earlier Windows version unless its
// content says it is a Reelwarden catalog.
std::optional<FileFormat> FormatToRead(const QString &name, const QString &path);

// A kind of file a file chooser offers: "CSV files" and its name patterns ("*.csv"), or a
// folder of files for a format that reads a whole folder.
struct ChooserFormat {
    QString description;
    QStringList patterns;
    bool folder = false;
};
// The formats that can be read (`reading`) or written, in the registry's order.
QList<ChooserFormat> ChooserFormats(bool reading);

// One line a format, its fields separated by tabs: the --format name, the commands that take it
// ("import export", "import" or "export"), its file name endings (".html .htm") and what it is.
QStringList FormatList();

// The formats that can be read (imported) and written (exported), as extensions for messages.
QString ReadableFormats();
QString WritableFormats();
bool CanRead(FileFormat format);
bool CanWrite(FileFormat format);

// Opens the file in `format`, which CanRead / CanWrite. `map` applies to CSV headers; Access
// files are read with `readerProgram`. Throws TransferError.
std::unique_ptr<MovieReader> OpenReader(FileFormat format, const QString &path,
                                        const ColumnMap &map, const QString &readerProgram);
std::unique_ptr<MovieWriter> OpenWriter(FileFormat format, const QString &path);
