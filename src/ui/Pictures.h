#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

class QPainter;

// The program's own pictures, drawn from vector shapes at whatever size and device pixel ratio
// they are shown at, so they look the same on every desktop and need no icon theme.

// The program's icon: a film reel, a dark disc with five golden windows and a red hub.
QIcon ProgramIcon();
// The icon as a `size` by `size` image, for the icon files installed with the program.
QImage ProgramIconImage(int size);
// The icon as an SVG document, written from the same shapes.
QString ProgramIconSvg();

// The pictures of the seven toolbar commands, in toolbar order.
enum class ToolbarPicture { Add, Delete, Save, Undo, Print, Search, Clear };

// A toolbar picture, 16 by 16 logical pixels, in the program icon's colours; greyed in
// QIcon::Disabled mode.
QIcon ToolbarIcon(ToolbarPicture picture);

// Paints `picture` into the square (0, 0) to (16, 16) of `painter`'s coordinates.
void PaintToolbarPicture(QPainter &painter, ToolbarPicture picture);
