// What the composer's window code is given by the application: the children of the main window
// that belong to the composer, the instance and font they are made with, the height of an
// address field and the settings. The main window empties it and creates the composer's
// children straight into it; it hands over the rest before it creates the address panel, which
// reads it while it is created, and again at its tear-down. The composer only reads it.
#pragma once

#include <windows.h>

struct ProgramSettings;

struct ComposeWindows {
    HINSTANCE instance;
    HWND mainWindow; // its title follows the subject; it lays out the body and the strip again
    HWND addressPanel;
    HWND bodyEditor; // null when no rich-text library could be loaded
    HWND attachStrip;
    HWND toolbarButtons[6]; // Send, Attach, Voice, Video, Cancel, logo
    HWND fontNameBox;
    HWND fontSizeBox;
    HWND colourBox;
    HWND boldButton;
    HWND italicButton;
    HWND underlineButton;
    HFONT uiFont;    // borrowed: the application deletes it at its tear-down
    int fieldHeight; // of one address field
    ProgramSettings* settings;
};

extern ComposeWindows composeWindows;
