#pragma once

#include "MovieRow.h"

#include <QByteArray>

#include <memory>

// The movie .nfo files of Kodi, Jellyfin, Emby and MediaPortal (XML, root <movie>), alone or a
// folder of them, and Kodi's exported library (videodb.xml, root <videodb>). A movie gives
// title, year (or the year of premiered), director, genre (Category), mpaa (Rating), runtime
// in minutes (Minutes), actor names in order (StarOne to StarFour) and plot (Comments); a year
// or runtime of 0 is Kodi's "unknown". Several directors or genres are joined with "; ".
// The readers throw TransferError naming the file.

// A file is read up to the end of its root element: the link line Kodi allows after it is
// never read. A file of a TV show, an episode or music is refused, naming what it holds.
std::unique_ptr<MovieReader> OpenNfoReader(const QString &path);
// A folder: every movie .nfo below it, in the order the file system lists them. Other
// files, .nfo files of shows or music and text .nfo files are skipped and counted in notes();
// a folder reached twice through links is read once. A folder without a movie is refused.
std::unique_ptr<MovieReader> OpenNfoFolderReader(const QString &path);
// OpenNfoReader or OpenNfoFolderReader, as `path` is a file or a folder.
std::unique_ptr<MovieReader> OpenNfoPathReader(const QString &path);
// Its <movie> entries; TV shows, music videos and the rest are skipped and counted. A library
// with no movie but other entries is refused, naming what it holds.
std::unique_ptr<MovieReader> OpenVideodbReader(const QString &path);

bool IsNfo(const QString &path, const QByteArray &head);     // a folder, or a media-centre .nfo
bool IsVideodb(const QString &path, const QByteArray &head); // root <videodb>
