#pragma once

#include "MovieRow.h"
#include "ProbeResult.h"

#include <memory>

// Data Crow's XML export (<data-crow-objects> of <movie> elements; from version 5 inside
// <movie-items>): title, genres (Category), certification (Rating), storage medium (Format),
// item value (Value), year (Copyright), play length (Minutes, from seconds or h:mm:ss),
// container (TapePosition), the first four actors, directors, comment (Comments, the
// description and a local title kept after it). An export of another module (books, music
// albums) is refused naming it. Throws TransferError.
std::unique_ptr<MovieReader> OpenDataCrowReader(const QString &path);

// Whether `head`, the first bytes of the file at `path`, is a Data Crow export, and what it
// holds when not movies.
ProbeResult ProbeDataCrow(const QString &path, QByteArrayView head);
