#pragma once

#include "ReaderOutput.h"

#include <QList>

// The catalog holds no two titles that are equal with letters compared without case (both
// sides in full Unicode upper case, so "Straße" equals "STRASSE"). An old catalog may;
// every title after the first of its kind becomes "Title (2)", "Title (3)", ...: the first
// number whose result equals no title of the list, neither an original one nor one given
// earlier. Empty and NULL titles are left as they are. Returns how many titles were renamed.
int RenameDuplicateTitles(QList<AccessValue> &titles);
