// Reading and clicking the report-style list views of Kestro's dialogs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Every row of the list, its first `columns` texts joined by '|'.
std::vector<std::string> ListRows(HWND list, int columns);

// Selects and focuses the item, as a click would.
void SelectListItem(HWND list, int item);

// A double click on the item's label (the list leaves the selection to the clicks before it).
void DoubleClickListItem(HWND list, int item);

// A click on a column heading, clear of the divider and within the list's visible part.
void ClickListHeading(HWND list, int column);
