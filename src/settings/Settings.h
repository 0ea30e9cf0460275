#pragma once

#include "Profile.h"

#include <QString>
#include <QStringList>

// The settings file TARSEL.INI beside the program, and the pick lists read from it.

// The settings file's path, set once at start-up before any other call below.
void setIniPath(const QString &path);
QString IniPath();

// programFolder + "/TARSEL.INI"; the separator is added even after a trailing one.
QString iniPathFor(const QString &programFolder);

// Whether a regular file is at path (on Windows, a hidden one counts as absent).
bool iniFileExists(const QString &path);

// At most this many characters of a value are read.
constexpr int MaxIniValueLength = 143;
// The largest entry count a pick list takes.
constexpr int MaxPickListCount = 32766;

// One value of the settings file, cut to MaxIniValueLength characters; def (cut the same way)
// when the file, the section or the key is absent.
QString ReadIni(const QString &section, const QString &key, const QString &def);
QString ReadIni(const Profile &profile, const QString &section, const QString &key,
                const QString &def);

// Writes one value. A failure (read-only or missing folder) is ignored: the program goes on
// with whatever the file holds, which on a first run is nothing.
void WriteIni(const QString &section, const QString &key, const QString &value);

// The entries a first run writes.
void WriteDefaultLists();

// A count text as a pick list's number of entries: rounded to the nearest whole number, a half
// to the even one; 0 for text that is not a decimal number, MaxPickListCount at most.
int pickListCount(const QString &countText);

// Entries itemPrefix + "1" to itemPrefix + count of section, count being countKey's value; a
// missing entry reads as empty. The file is read once for the whole list.
QStringList ReadPickList(const QString &section, const QString &countKey,
                         const QString &itemPrefix);
QStringList ReadPickList(const Profile &profile, const QString &section, const QString &countKey,
                         const QString &itemPrefix);
