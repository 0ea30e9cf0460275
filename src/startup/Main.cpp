#include "Main.h"

#include "Look.h"
#include "MessageBox.h"
#include "Settings.h"
#include "StoreError.h"
#include "Tarsel.h"
#include "frmSplash.h"
#include "frmTarsel.h"

#include <QApplication>

std::unique_ptr<frmTarsel> StartUp(const QString &programFolder)
{
    ShowHourglass(true);
    auto splash = std::make_unique<frmSplash>();
    splash->Load();
    splash->show();
    Sleep(1000);
    splash->SetProgress(QStringLiteral("Opening Database..."));
    setIniPath(iniPathFor(programFolder));
    if (!iniFileExists(IniPath()))
        WriteDefaultLists();
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
    return window;
}

int Main(int argc, char *argv[])
{
    // Qt is given the program's name only: the program takes nothing from its command line.
    int qtArgc = argc > 0 ? 1 : 0;
    char *qtArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
    QApplication application(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("Reelwarden"));
    QApplication::setWindowIcon(ProgramIcon());
    QApplication::setQuitOnLastWindowClosed(false);
    SetUpFonts();
    auto window = StartUp(QCoreApplication::applicationDirPath());
    if (!window)
        return 1;
    return QApplication::exec();
}
