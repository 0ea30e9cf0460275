#pragma once

#include "MovieRow.h"

#include <memory>

// Reads the Movies table of a catalog of the earlier Windows version (a Microsoft Access
// file) through the reader program `readerProgram`, as the start-up conversion does. Movies
// are "row N" in the table's order. Throws TransferError naming the file and what is wrong.
std::unique_ptr<MovieReader> OpenAccessReader(const QString &path, const QString &readerProgram);
