#pragma once

#include "MovieRow.h"

#include <memory>

class Database;

// The catalog's movies in the order of the catalog window's list (titles sorted as the list
// sorts them), read one at a time: only rowids and titles are held. Numbers come as plain
// decimals: whole numbers as digits, Value with two decimals or more when the catalog holds
// more ("12.50", "5.125"); a value the catalog holds as text comes as that text. A movie
// deleted by another program while the export runs is left out. Throws StoreError.
std::unique_ptr<MovieReader> OpenCatalogReader(Database &db);
