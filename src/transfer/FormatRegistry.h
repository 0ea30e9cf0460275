#pragma once

#include "MovieRow.h"

#include <memory>

// The readers and writers of other catalog programs' files and of the printable list.
std::unique_ptr<MovieReader> OpenTellicoReader(const QString &path);              // .tc zip or .xml
std::unique_ptr<MovieWriter> OpenTellicoWriter(const QString &path, bool zipped); // .tc when zipped
std::unique_ptr<MovieReader> OpenGcstarReader(const QString &path);               // .gcs
std::unique_ptr<MovieWriter> OpenHtmlWriter(const QString &path);                 // .html
