#pragma once

#include "MovieRow.h"
#include "ProbeResult.h"

#include <memory>

// Collectorz Movie Collector's XML export (<movieinfo>, <movielist> of <movie>): title,
// genres (Category), MPAA rating (Rating), format, purchase price (Value), release year
// (Copyright), running time (Minutes), condition, location (TapePosition), the cast's first
// four actors, producers and directors from the crew, notes (Comments, the plot kept after
// them). An export of the program's books, music, comics or games is refused naming them.
// Throws TransferError.
std::unique_ptr<MovieReader> OpenCollectorzReader(const QString &path);

// Whether `head`, the first bytes of the file at `path`, is a Collectorz export, and what it
// holds when not movies.
ProbeResult ProbeCollectorz(const QString &path, QByteArrayView head);
