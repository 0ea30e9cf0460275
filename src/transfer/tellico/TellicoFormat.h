#pragma once

#include "MovieRow.h"

#include <memory>

// Tellico's video collections (type 3, document type V11): a .tc zip holding tellico.xml, or
// the bare XML. Each column goes into Tellico's own video field (title, genre, certification,
// medium, pur_price, year, running-time in minutes, cast, producer, director, comments);
// Condition and TapePosition into the fields "condition" and "location" that the export
// declares. Both throw TransferError with a message naming the file.
std::unique_ptr<MovieReader> OpenTellicoReader(const QString &path);
std::unique_ptr<MovieWriter> OpenTellicoWriter(const QString &path, bool zipped);
