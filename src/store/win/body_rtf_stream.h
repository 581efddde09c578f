// Moving the body editor's content out as RTF and back in.
#pragma once

#include <windows.h>

#include <string>

// Streams the editor out as RTF (EM_STREAMOUT with SF_RTF) into rtf. False when the editor
// reports an error or memory runs out; rtf then holds what came before.
bool WriteBodyRtf(HWND editor, std::string& rtf);

// Replaces the editor's content with the RTF (EM_STREAMIN with SF_RTF). RTF cut short is taken
// with its open groups closed. The editor refuses data that is not RTF at all; such a body is
// put in as plain text instead, so that nothing of it is lost. False when the RTF was refused.
bool ReadBodyRtf(HWND editor, const std::string& rtf);
