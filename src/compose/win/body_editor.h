// The body editor's own window procedure: the format bar follows the caret after every key and
// click, a right click opens the pop-up menu "BODYPOPUPMENU", dropped files are attached.
#pragma once

#include <windows.h>

void SubclassBodyEditor(HWND body);
