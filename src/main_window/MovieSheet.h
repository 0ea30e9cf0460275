#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class QWidget;

// The printed sheet of one movie: the texts its fields show, exactly as shown.
struct MovieSheet {
    QString title;
    QString category;
    QString rating;
    QString format;
    QString value;
    QString copyright;
    QString hours;
    QString minutes;
    QString condition;
    QString tapePosition;
    QString starOne;
    QString starTwo;
    QString starThree;
    QString starFour;
    QString producer;
    QString director;

    // The fifteen printed lines in order, the title first. The comments are never printed.
    QStringList lines() const;
};

// Draws the sheet on the painter's device, in its printable area: the title in Arial 20 pt
// one inch from the top and the left, then the other lines in Arial 14 pt, each a quarter inch
// below the bottom of the line above. Texts are neither wrapped nor cut: a line wider than
// the page runs off its edge.
void DrawMovieSheet(QPainter &painter, const MovieSheet &sheet);

// Prints the sheet on `printer` as one document. False when the printer could not be opened
// or reported an error; the document is then aborted and `*reason` says why where that is
// known (otherwise it is left as it was).
bool PrintMovieSheet(QPrinter &printer, const MovieSheet &sheet, QString *reason);

// The printer dialog of the Print command: returns the printer the user chose, with the
// number of copies set on it, or nothing when the dialog was cancelled.
std::unique_ptr<QPrinter> ChoosePrinter(QWidget *parent);

// Replaces the printer dialog, for tests: the hook answers for ChoosePrinter.
// An empty hook brings the real dialog back.
using PrinterDialogHook = std::function<std::unique_ptr<QPrinter>(QWidget *parent)>;
void SetPrinterDialogHook(PrinterDialogHook hook);
