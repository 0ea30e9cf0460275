#pragma once

#include "MovieRow.h"

#include <memory>

// GCstar's collections of films (.gcs, <collection type="GCfilms">): each item's attributes
// and elements go into the catalog's columns: title, genre (Category), age (Rating), format,
// date (Copyright, the year of a full date), time (Hours and Minutes), place (TapePosition),
// actors (StarOne to StarFour), producer, director, comment (Comments). Throws TransferError.
std::unique_ptr<MovieReader> OpenGcstarReader(const QString &path);
