#pragma once

class frmTarsel;

// Keys for the toolbar: Ctrl+N Add, Ctrl+S Save, Ctrl+P Print, Ctrl+F Search, and Delete in
// the movie list. A key presses its button as a click does, and only when the button can be
// clicked (it and the toolbar are enabled).
void InstallToolbarShortcuts(frmTarsel &window);
