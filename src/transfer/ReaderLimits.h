#pragma once

// Limits the readers of other programs' files check as they stream, far beyond any real file,
// so that a damaged or hostile one cannot fill the memory: refused with the limit named.
namespace ReaderLimits
{

// Actors, directors, genres, credits of one movie.
inline constexpr int kMaxListedPerMovie = 10'000;
// The names of a file's fields that no column takes, as the summary lists them; more are
// neither kept nor listed.
inline constexpr int kMaxUnusedNames = 500;

} // namespace ReaderLimits
