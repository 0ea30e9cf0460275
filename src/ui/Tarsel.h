#pragma once

#include <QRect>
#include <QString>

class QWidget;

// Routines shared by the program's windows.

// Places `window` in the middle of the screen it is on (outer size, frame included).
// A window larger than the screen gets a negative top or left.
void CenterForm(QWidget *window);

// The program-wide busy pointer: on shows the hourglass over every window, off gives each
// window its own pointer back. Not counted: one off undoes any number of ons.
void ShowHourglass(bool on);

// Lets the window system handle the events that are waiting, once.
void DoEvents();

// Blocks the program's only thread: no window events are handled meanwhile.
void Sleep(int milliseconds);

// Window positions and sizes are laid out in twips: 15 to a logical pixel.
inline constexpr int kTwipsPerPixel = 15;
inline int Twips(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
inline QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(Twips(left), Twips(top), Twips(width), Twips(height));
}
// Places `widget` at a position given in twips, relative to its parent.
void PlaceTwips(QWidget *widget, int left, int top, int width, int height);
