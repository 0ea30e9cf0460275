#pragma once

#include "Formats.h"

#include <QString>

#include <functional>

class QWidget;

// What a file chooser is asked for: a file (or folder) to read in one of `formats`, or a file
// to write, `proposed` being the name offered.
struct FileChooserRequest {
    bool save = false;
    QString caption;
    QList<ChooserFormat> formats;
    QString proposed; // a folder or a file in it
};

// The desktop's file chooser: the path chosen, or an empty text when cancelled. A name to
// save under that has no extension of a format offered gets the one of the format chosen.
QString ChooseFile(QWidget *parent, const FileChooserRequest &request);

// Replaces the chooser, for tests: the hook receives the request and gives the path.
using FileChooserHook = std::function<QString(const FileChooserRequest &request)>;
void SetFileChooserHook(FileChooserHook hook);
