#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The Windows-1252 code page, in which settings files written on Windows are stored.
namespace Windows1252
{

// Every byte has a character: the five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) give the C1 control of the same number, as Windows does.
QString decode(QByteArrayView bytes);

// The inverse of decode(); a character the code page lacks becomes '?'.
QByteArray encode(QStringView text);

} // namespace Windows1252
