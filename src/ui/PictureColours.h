#pragma once

#include <QColor>

// The colours of the program icon, which the toolbar pictures share.
inline const QColor kInk(40, 40, 48);
inline const QColor kGold(230, 200, 60);
inline const QColor kRed(200, 30, 30);
inline const QColor kPaper(250, 248, 240);
