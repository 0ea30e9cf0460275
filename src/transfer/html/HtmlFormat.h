#pragma once

#include "MovieRow.h"

#include <memory>

// A page listing the movies in the order they are written, one row each with title, year,
// format, length, category, rating, value, director and stars: UTF-8, every text escaped, no
// script and nothing loaded from elsewhere, laid out for the screen and for print. The page
// stands under its name only after finish(). Throws TransferError.
std::unique_ptr<MovieWriter> OpenHtmlWriter(const QString &path);
