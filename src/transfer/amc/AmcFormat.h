#pragma once

#include "MovieRow.h"
#include "ProbeResult.h"

#include <memory>

// Ant Movie Catalog's catalogs: the binary .amc of versions 3.1 to 4.2 (Windows-1252 text)
// and the XML catalog (<AntMovieCatalog>), told apart by their first bytes. Original title
// (else the translated one) is the Title; category, certification (Rating), media type
// (Format), year (Copyright), length in minutes (Minutes), media label (TapePosition), the
// first four actors, producer, director and comments go to their columns; a custom field
// named for a price, cost or value to Value; the translated title and the description are
// kept in Comments. Throws TransferError naming the file, and the byte where a binary
// catalog is damaged.
std::unique_ptr<MovieReader> OpenAmcReader(const QString &path);

// Whether `head`, the first bytes of the file at `path`, is an Ant Movie Catalog catalog.
ProbeResult ProbeAmc(const QString &path, QByteArrayView head);
