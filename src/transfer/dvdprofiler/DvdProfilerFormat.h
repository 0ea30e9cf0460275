#pragma once

#include "MovieRow.h"

#include <QByteArray>

#include <memory>

// DVD Profiler's collection export (collection.xml: root <Collection>, a <DVD> per profile,
// windows-1252 as declared). A profile gives Title, ProductionYear (Copyright), Rating, the
// media types (Format: DVD, HD DVD, Blu-ray or its own type), RunningTime (Minutes), Genres
// (Category), PurchasePrice (Value; 0 is DVD Profiler's "unknown"), the first disc's Location
// (TapePosition), the Actors in order, dividers skipped (StarOne to StarFour), the credits of
// Direction (Director) and Production (Producer) with first, middle and last names joined,
// and Overview and Notes (Comments). Throws TransferError naming the file.
std::unique_ptr<MovieReader> OpenDvdProfilerReader(const QString &path);

bool IsDvdProfiler(const QString &path, const QByteArray &head);
