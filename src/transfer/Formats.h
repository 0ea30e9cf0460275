#pragma once

#include "CsvFormat.h"
#include "MovieRow.h"

#include <QByteArray>

#include <memory>

// What a reader may need besides the path: how to read a CSV file, the Access reader program.
struct ReadOptions {
    CsvOptions csv;
    QString readerProgram;
};

// One format reelwarden-transfer knows: one row of the table in Formats.cpp. Adding a format
// is adding a row:
//   names       its --format names, space separated, lower case; the first one is shown
//   title       what it is, for the list of readable formats ("Kodi ... .nfo files")
//   extensions  the extensions it is known by, space separated, lower case, without the dot
//   probe       whether a file is of this format by its content: the path and the first
//               FormatProbe::kProbeBytes of the file (empty for a folder); it recognises the
//               program's files of any kind (books too), so that its reader can refuse those
//               naming what they hold. nullptr: recognised by extension alone (CSV).
//   read        opens a reader (throws TransferError); nullptr: the format is not imported
//   write       opens a writer (throws TransferError); nullptr: the format is not exported
//   folder      it reads a folder too
// A format without extensions is known by its content alone, whatever the file's name.
struct FormatRow {
    const char *names;
    const char *title;
    const char *extensions;
    bool (*probe)(const QString &path, const QByteArray &head);
    std::unique_ptr<MovieReader> (*read)(const QString &path, const ReadOptions &options);
    std::unique_ptr<MovieWriter> (*write)(const QString &path);
    bool folder = false; // it reads a folder of files as well (a file chooser offers folders)

    QString name() const; // the first of names
    bool isNamed(const QString &name) const;
};

// The format a --format name stands for or, when `name` is empty, the file's extension;
// nullptr for neither. Export chooses with it.
const FormatRow *FormatNamed(const QString &name, const QString &path);

// The format of the file or folder to import: the --format `name` when given, else the one
// whose probe recognises its content, else the only readable format of its extension.
// Throws TransferError naming the file and listing ReadableFormats() when none fits.
const FormatRow &FormatToRead(const QString &name, const QString &path);

// A kind of file a file chooser offers: its title and name patterns ("*.csv"; "*" for a format
// known by its content alone), or a folder of files for a format that reads one.
struct ChooserFormat {
    QString description;
    QStringList patterns;
    bool folder = false;
};
// The formats that can be read (`reading`) or written, in the table's order.
QList<ChooserFormat> ChooserFormats(bool reading);

// One line a format, its fields separated by tabs: the --format name, the commands that take it
// ("import export", "import" or "export"), its file name endings (".html .htm") and what it is.
// The manual page and the shell completion are made from it.
QStringList FormatList();

// The --format names that read or write, and the readable formats with their extensions, for
// messages.
QString FormatNames(bool reading);
QString ReadableFormats();
QString WritableFormats();

// Open the file in `format`, which has read / write. Throw TransferError.
std::unique_ptr<MovieReader> OpenReader(const FormatRow &format, const QString &path,
                                        const CsvOptions &csv, const QString &readerProgram);
std::unique_ptr<MovieWriter> OpenWriter(const FormatRow &format, const QString &path);
