#pragma once

#include <QString>

#include <cstdint>

// Deterministic catalogs for the benchmarks: the same size and seed always give the same
// movies. Titles are unique (without regard to case), some hold non-ASCII letters, and each
// title starts with one of kLeadWords words, so a lead word as a title prefix matches about
// 1% of the catalog.
namespace CatalogGenerator
{

inline constexpr int kLeadWords = 100;

// The lead word `index` (0 <= index < kLeadWords).
QString leadWord(int index);

// Writes a catalog of `count` movies to `path` (which must not exist yet).
void write(const QString &path, int count, std::uint64_t seed = 1977);

} // namespace CatalogGenerator
