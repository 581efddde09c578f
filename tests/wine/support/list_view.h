// Reading and driving a report list view as a user would: its rows, a selection, a click on a
// column heading.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Every row in display order, its column texts joined by '|'.
std::vector<std::string> ListRows(HWND list, int columns);

// Selects the item (the selection of others stays).
void SelectItem(HWND list, int item);

// A click on the heading of the column.
void ClickColumnHeading(HWND list, int column);
