#pragma once

#include <QString>

struct sqlite3;

// Text comparison without regard to letter case, for every letter and not only A to Z:
// both sides are brought to full Unicode upper case ("ß" matches "SS").
namespace TextFold
{

// The form in which two texts are equal exactly when they are equal without regard to case:
// the full Unicode upper case.
QString folded(const QString &text);

bool equalIgnoringCase(const QString &a, const QString &b);
int compareIgnoringCase(const QString &a, const QString &b);

// SQL LIKE: "%" any run of characters, "_" one character, `escape` (when not null) makes the
// next pattern character literal. Letters compare without regard to case.
bool like(const QString &pattern, const QString &text, QChar escape = QChar());

// Replaces the connection's NOCASE collation and its LIKE function with the versions above,
// so "=" on the catalog's text columns and LIKE compare every letter without case.
// Returns an SQLite result code.
int install(sqlite3 *db);

} // namespace TextFold
