#pragma once

#include <QFont>
#include <QString>

#include "Pictures.h"

// The program's fonts and pictures.

// Maps the fonts the windows are designed in ("MS Sans Serif", "Arial") to a metric-compatible
// font that is installed (Liberation Sans), so texts fit the boxes laid out for them.
void SetUpFonts();

// The windows' own fonts, in points.
QFont SansSerifFont(qreal points = 8.25, bool bold = false);
QFont ArialFont(qreal points, bool bold = false);
