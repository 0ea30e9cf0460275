#pragma once

#include "MovieRow.h"

#include <memory>

// GCstar's collections of films (.gcs, <collection type="GCfilms">): each item's attributes
// and elements go into the catalog's columns: title, genre (Category), age (Rating, as a
// certification: "Age 12+", "All ages", "Parental guidance"), format, date (Copyright, as the
// file has it), time (Minutes, as the file has it: the import splits it), place
// (TapePosition), actors (StarOne to StarFour; their roles are counted as left out),
// producer, director, comment (Comments). Throws TransferError.
std::unique_ptr<MovieReader> OpenGcstarReader(const QString &path);
