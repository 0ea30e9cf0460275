#pragma once

#include "MovieRow.h"
#include "ProbeResult.h"

#include <memory>

// Delicious Library's XML exports: version 1 (<library><items> of <movie>, <book>, ... with
// the values as attributes) and version 2 (an Apple property list: an array of dictionaries,
// each with its "type"). Of the movies: title, genres (Category), MPAA rating (Rating),
// format, price (Value), theatrical year (Copyright), minutes, the first four actors,
// directors, notes (Comments, the description kept after them). Items of other kinds are
// skipped and counted; a file with no movie is refused naming what it holds. Throws
// TransferError.
std::unique_ptr<MovieReader> OpenDeliciousReader(const QString &path);

// Whether `head`, the first bytes of the file at `path`, is a Delicious Library export. What
// it holds shows only item by item, so the reader tells.
ProbeResult ProbeDelicious(const QString &path, QByteArrayView head);
