#pragma once

#include <QString>

#include <memory>

class frmTarsel;

// Start-up with an application object already made: the splash window, the settings file on
// a first run, the catalog window loaded and shown. Returns the shown window, or nothing when
// start-up has to end: the catalog could not be opened (the user has been told why) or the
// user declined to convert an Access catalog. `exitCode` receives the program's status.
std::unique_ptr<frmTarsel> StartUp(const QString &programFolder, int *exitCode = nullptr);

// The program: start-up from the folder that holds the executable, then the catalog window's
// events until it is closed. Returns the program's exit status. The command line is not read.
int Main(int argc, char *argv[]);
