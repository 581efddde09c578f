// The MPEG Layer-3 codec file: where it is looked for, and adding it to the Audio Compression
// Manager as a driver of this process only.
#pragma once

#include <windows.h>

#include <mmreg.h>
#include <msacm.h>

#include <cstddef>

// The driver id that AddMp3CodecDriver added; nullptr when none is added.
extern HACMDRIVERID addedMp3Driver;

// The first of the six places that can be opened for reading, in this order:
// %windir%\system\l3codecp.acm, %windir%\system32\l3codecp.acm, %windir%\system\l3codeca.acm,
// %windir%\system32\l3codeca.acm (these four only when "windir" is set), then the system
// directory's l3codeca.acm and l3codecp.acm. Returns 0 when none opens.
int FindMp3CodecFile(char* path, size_t size);

// 1 when a codec file is in one of the six places.
int Mp3CodecFileFound();

// 1 when kto2mp3.exe (which carries its own MP3 encoder) is in the directory, or a codec file
// is found.
int Mp3CodecPresentIn(const char* programDirectory);

// Loads the first codec file found and adds its DriverProc as a driver function. 1 when added
// (only MMSYSERR_INVALPARAM from the manager counts as a failure); 0 without a file or when
// the add failed.
int AddMp3CodecDriver();

// Removes the added driver and frees the codec file. 1 when the file was freed.
int RemoveMp3CodecDriver();
