#pragma once

#include "MovieRow.h"

#include <QByteArray>

#include <memory>

// Griffith's own database (griffith.db: SQLite, table movies) and its XML export (root <root>,
// a <movie> of the same fields each). A movie gives title (or o_title), year (Copyright),
// classification (Rating), genre (Category), runtime (Minutes), the medium's name (Format),
// director, the cast's names in order (StarOne to StarFour; each line "Name as Role") and
// plot and notes (Comments). The reader chooses by content; throws TransferError.
std::unique_ptr<MovieReader> OpenGriffithReader(const QString &path);

// Griffith's XML export, or an SQLite file whose movies table has Griffith's columns
// (o_title, number): a catalog of another program with a table of that name is not one.
bool IsGriffith(const QString &path, const QByteArray &head);
