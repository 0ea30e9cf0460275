#include "MovieSheet.h"

#include "Look.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace
{

constexpr qreal kTwipsPerInch = 1440;
constexpr int kMarginTwips = 1440; // one inch from the top and the left
constexpr int kLineGapTwips = 360; // a quarter inch between lines
constexpr qreal kTitlePoints = 20;
constexpr qreal kBodyPoints = 14;

qreal TwipsToDevice(int twips, int dotsPerInch)
{
    return twips * dotsPerInch / kTwipsPerInch;
}

// Prints one line with its top at `top` and returns the position below it. Printing a line
// leaves the position under the line just printed (its full height, leading included), so
// the gap added before the next line stands between the two lines and never overlaps them,
// whatever the size of the type.
qreal PrintLine(QPainter &painter, qreal left, qreal top, const QString &text)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(QPointF(left, top + metrics.ascent()), text);
    return top + metrics.lineSpacing();
}

// Why a printer could not be opened, where that can be told.
QString OpenProblem(const QPrinter &printer)
{
    if (!printer.outputFileName().isEmpty())
        return QStringLiteral("The file %1 could not be written.")
            .arg(QDir::toNativeSeparators(printer.outputFileName()));
    if (printer.printerName().isEmpty())
        return QStringLiteral("No printer is installed.");
    if (QPrinterInfo::printerInfo(printer.printerName()).isNull())
        return QStringLiteral("The printer %1 is not available.").arg(printer.printerName());
    return QString();
}

} // namespace

QStringList MovieSheet::lines() const
{
    const QString gap = QStringLiteral("  ");
    return {
        QStringLiteral("Title:") + gap + title,
        QStringLiteral("Category:") + gap + category,
        QStringLiteral("Rating:") + gap + rating,
        QStringLiteral("Format:") + gap + format,
        QStringLiteral("Value:") + gap + value,
        QStringLiteral("Copyright:") + gap + copyright,
        QStringLiteral("Length:") + gap + hours + QStringLiteral(" hours  ") + minutes +
            QStringLiteral(" minutes"),
        QStringLiteral("Condition:") + gap + condition,
        QStringLiteral("Tape Position:") + gap + tapePosition,
        QStringLiteral("Star One:") + gap + starOne,
        QStringLiteral("Star Two:") + gap + starTwo,
        QStringLiteral("Star Three:") + gap + starThree,
        QStringLiteral("Star Four:") + gap + starFour,
        QStringLiteral("Producer:") + gap + producer,
        QStringLiteral("Director:") + gap + director,
    };
}

void DrawMovieSheet(QPainter &painter, const MovieSheet &sheet)
{
    const QPaintDevice *device = painter.device();
    const qreal left = TwipsToDevice(kMarginTwips, device->logicalDpiX());
    const qreal gap = TwipsToDevice(kLineGapTwips, device->logicalDpiY());
    const QStringList lines = sheet.lines();

    painter.setFont(ArialFont(kTitlePoints));
    qreal position =
        PrintLine(painter, left, TwipsToDevice(kMarginTwips, device->logicalDpiY()), lines.first());
    painter.setFont(ArialFont(kBodyPoints));
    for (qsizetype i = 1; i < lines.size(); ++i)
        position = PrintLine(painter, left, position + gap, lines[i]);
}

bool PrintMovieSheet(QPrinter &printer, const MovieSheet &sheet, QString *reason)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        printer.abort();
        *reason = OpenProblem(printer);
        return false;
    }
    DrawMovieSheet(painter, sheet);
    // Checked before the page is ended, so that a printer able to cancel drops the page
    // instead of printing half of it.
    const bool failed = printer.printerState() == QPrinter::Error;
    if (failed)
        printer.abort();
    if (!painter.end() || failed) {
        *reason = QStringLiteral("The printer reported an error.");
        return false;
    }
    return true;
}
