#include "Main.h"

#include "AccessConversion.h"
#include "Look.h"
#include "MessageBox.h"
#include "Settings.h"
#include "StoreError.h"
#include "Tarsel.h"
#include "frmSplash.h"
#include "frmTarsel.h"

#include <QApplication>
#include <QDate>

namespace
{

// A catalog written by the earlier Windows version is an Access file: offer to convert it.
// False when start-up must end (the user declined, or the conversion failed and was reported).
bool OfferConversion(const QString &programFolder, frmSplash &splash, int *exitCode)
{
    const QString catalog = programFolder + QStringLiteral("/movies.mdb");
    if (!IsAccessFile(catalog))
        return true;
    ShowHourglass(false);
    const int answer = MsgBox(ConversionQuestion(catalog), vbYesNo | vbQuestion);
    if (answer != vbYes) {
        if (exitCode)
            *exitCode = 0;
        return false;
    }
    ShowHourglass(true);
    splash.SetProgress(QStringLiteral("Converting Database..."));
    const ConversionResult result = ConvertAccessCatalog(catalog, ReaderProgramPath(programFolder));
    if (!result.ok) {
        ShowHourglass(false);
        MsgBox(result.message + QStringLiteral("\n\nReelwarden will close."), vbCritical);
        return false;
    }
    if (!result.message.isEmpty()) {
        ShowHourglass(false);
        MsgBox(result.message, vbInformation);
        ShowHourglass(true);
    }
    splash.SetProgress(QStringLiteral("Opening Database..."));
    return true;
}

} // namespace

std::unique_ptr<frmTarsel> StartUp(const QString &programFolder, int *exitCode)
{
    if (exitCode)
        *exitCode = 1;
    ShowHourglass(true);
    auto splash = std::make_unique<frmSplash>();
    splash->Load();
    splash->show();
    Sleep(1000);
    splash->SetProgress(QStringLiteral("Opening Database..."));
    setIniPath(iniPathFor(programFolder));
    if (!iniFileExists(IniPath()))
        WriteDefaultLists();
    if (!OfferConversion(programFolder, *splash, exitCode)) {
        splash.reset();
        ShowHourglass(false);
        return nullptr;
    }
    auto window = std::make_unique<frmTarsel>(programFolder);
    try {
        window->Load();
    } catch (const StoreError &error) {
        splash.reset();
        ShowHourglass(false);
        MsgBox(error.message() + QStringLiteral("\n\nReelwarden will close."), vbCritical);
        return nullptr;
    }
    Sleep(500);
    splash.reset();
    DoEvents();
    Sleep(250);
    window->show();
    window->repaint();
    ShowHourglass(false);
    // Once a day, a copy of the catalog; the window goes on without waiting for it.
    window->StartDailyBackup(QDate::currentDate());
    if (exitCode)
        *exitCode = 0;
    return window;
}

int Main(int argc, char *argv[])
{
    // Qt is given the program's name only: the program takes nothing from its command line.
    int qtArgc = argc > 0 ? 1 : 0;
    char *qtArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
    QApplication application(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("Reelwarden"));
    // Ties the windows to the installed menu entry, whose icon the task bar then shows.
    QGuiApplication::setDesktopFileName(QStringLiteral("reelwarden"));
    QApplication::setWindowIcon(ProgramIcon());
    QApplication::setQuitOnLastWindowClosed(false);
    SetUpFonts();
    int exitCode = 1;
    auto window = StartUp(QCoreApplication::applicationDirPath(), &exitCode);
    if (!window)
        return exitCode;
    return QApplication::exec();
}
