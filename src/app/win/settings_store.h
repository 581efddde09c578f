// Kestro.ini in the program directory: read once at start-up, written once at exit.
#pragma once

#include <cstddef>

// Fills programSettings; 1 when a keyed settings file was read, 0 when there was no file or an
// older-layout file (a first run).
int ReadSettings();

// Records the main window's rectangle and writes the file; 0 when it cannot be created.
int WriteSettings();

// programDirectory + "Kestro.ini".
void SettingsFilePath(char* path, size_t size);
