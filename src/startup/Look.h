#pragma once

#include <QFont>
#include <QIcon>
#include <QString>

// The program's fonts and pictures.

// Maps the fonts the windows are designed in ("MS Sans Serif", "Arial") to a metric-compatible
// font that is installed (Liberation Sans), so texts fit the boxes laid out for them.
void SetUpFonts();

// The windows' own fonts, in points.
QFont SansSerifFont(qreal points = 8.25, bool bold = false);
QFont ArialFont(qreal points, bool bold = false);

// The program's icon, drawn by the program itself so it is always there.
QIcon ProgramIcon();

// A 16 by 16 toolbar picture: the icon theme's `themeName` where the theme has it,
// otherwise a picture the program draws from `glyph`.
QIcon ToolbarIcon(const QString &themeName, QChar glyph);
