#include "frmTarsel.h"

#include "BoundControls.h"
#include "MessageBox.h"
#include "MovieSheet.h"
#include "Tarsel.h"

#include <QPrintDialog>
#include <QPrinter>

namespace
{

PrinterDialogHook &printerDialogHook()
{
    static PrinterDialogHook instance;
    return instance;
}

} // namespace

void SetPrinterDialogHook(PrinterDialogHook hook)
{
    printerDialogHook() = std::move(hook);
}

std::unique_ptr<QPrinter> ChoosePrinter(QWidget *parent)
{
    if (printerDialogHook())
        return printerDialogHook()(parent);
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), parent);
    // The sheet goes to a printer only; the number of copies stays on the printer, which
    // prints them from the one page composed.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return printer;
}

void frmTarsel::PrintMovie()
{
    const std::unique_ptr<QPrinter> printer = ChoosePrinter(this);
    if (!printer)
        return; // cancelled: nothing is printed and nothing is said
    DoEvents();
    ShowHourglass(true);
    const MovieSheet sheet{
        .title = m_txtTitle->text(),
        .category = m_cboCategory->text(),
        .rating = m_cboRating->text(),
        .format = m_cboFormat->text(),
        .value = m_txtValue->text(),
        .copyright = m_cboCopyright->text(),
        .hours = m_cboHours->text(),
        .minutes = m_cboMinutes->text(),
        .condition = m_txtCondition->text(),
        .tapePosition = m_txtTapePosition->text(),
        .starOne = m_txtStarOne->text(),
        .starTwo = m_txtStarTwo->text(),
        .starThree = m_txtStarThree->text(),
        .starFour = m_txtStarFour->text(),
        .producer = m_txtProducer->text(),
        .director = m_txtDirector->text(),
    };
    QString reason;
    const bool printed = PrintMovieSheet(*printer, sheet, &reason);
    ShowHourglass(false);
    if (!printed) {
        QString message = QStringLiteral("The movie could not be printed.");
        if (!reason.isEmpty())
            message += QLatin1Char(' ') + reason;
        MsgBox(message, vbInformation);
    }
}
