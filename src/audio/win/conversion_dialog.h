// The modal progress dialog DLG_AACONVERT that runs a conversion: it opens the conversion,
// runs both passes while drawing a progress bar and keeping the program responsive, and ends
// with 1 when the conversion ended well, 0 after a failure or Cancel.
#pragma once

#include <windows.h>

#include "audio/wave_conversion.h"

constexpr UINT kConvertBeginMessage = WM_USER + 20;
constexpr UINT kConvertEndMessage = WM_USER + 21;

enum class ConversionDialogLook {
    MainProgram, // input and output names; a 10-pixel bar at half the client height
    Converter,   // the output name only; a 20-pixel bar 15 pixels higher
};

// Runs DLG_AACONVERT of the running program's resources with the job. Result 1 / 0.
int ConvertFile(HWND owner, ConversionJob& job, ConversionDialogLook look);

// Handles every waiting message of the thread, giving each to the dialog's keyboard handling
// first. A WM_QUIT met on the way is posted again afterwards.
void PumpDialogMessages(HWND dialog);
