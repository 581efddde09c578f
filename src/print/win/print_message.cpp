#include "print/win/print_message.h"

#include <commdlg.h>
#include <richedit.h>
#include <winspool.h>

#include <cstring>

#include "base/win/scoped_handles.h"
#include "print/page_layout.h"
#include "print/print_header.h"
#include "print/win/print_progress.h"

namespace {

constexpr size_t kLongestLineRead = 0xFFFF; // EM_GETLINE takes the buffer size in one WORD

// The body editor's text, read line by line. Lines the editor wrapped at its own width join
// again, so that the paper's width alone decides where a paragraph breaks.
std::string BodyText(HWND bodyEditor) {
    std::string text;
    if (!bodyEditor) {
        return text;
    }
    const LRESULT lineCount = SendMessageA(bodyEditor, EM_GETLINECOUNT, 0, 0);
    std::vector<char> buffer;
    for (LRESULT line = 0; line < lineCount; ++line) {
        const LRESULT start = SendMessageA(bodyEditor, EM_LINEINDEX, line, 0);
        const LRESULT length = start < 0 ? 0 : SendMessageA(bodyEditor, EM_LINELENGTH, start, 0);
        // Room for the line's end (CR, or CR LF) as well.
        size_t size = static_cast<size_t>(length > 0 ? length : 0) + 3;
        if (size > kLongestLineRead) {
            size = kLongestLineRead;
        }
        buffer.assign(size, '\0');
        const WORD room = static_cast<WORD>(size - 1);
        std::memcpy(buffer.data(), &room, sizeof room);
        const LRESULT copied = SendMessageA(bodyEditor, EM_GETLINE, static_cast<WPARAM>(line),
                                            reinterpret_cast<LPARAM>(buffer.data()));
        if (copied > 0 && static_cast<size_t>(copied) <= room) {
            text.append(buffer.data(), static_cast<size_t>(copied));
        }
    }
    return text;
}

// Whether the system knows any printer, local or connected.
bool PrinterInstalled() {
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed,
                  &count);
    return needed > 0;
}

bool PrintPage(HDC printer, long long page, const PageMetrics& metrics,
               const std::vector<std::string>& header, const std::vector<std::string>& body) {
    if (StartPage(printer) <= 0) {
        return false;
    }
    for (int line = 0; line < metrics.linesPerPage; ++line) {
        const long long index = PrintedLineAt(page, line, metrics.linesPerPage);
        if (index >= static_cast<long long>(body.size())) {
            break;
        }
        const std::string& text =
            index < 0 ? header[static_cast<size_t>(line)] : body[static_cast<size_t>(index)];
        if (!text.empty()) {
            TextOutA(printer, 0, line * metrics.lineHeight, text.data(),
                     static_cast<int>(text.size()));
        }
    }
    return EndPage(printer) > 0;
}

} // namespace

PrintResult PrintMessage(HINSTANCE instance, HWND mainWindow, HWND bodyEditor,
                         const std::vector<std::string>& headerLines) {
    // Where the platform's dialog would offer no printer at all, say so before it opens.
    if (!PrinterInstalled()) {
        return kNoPrinterInstalled;
    }
    PRINTDLGA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = mainWindow;
    request.Flags = PD_RETURNDC | PD_COLLATE;
    request.nCopies = 1;
    if (!PrintDlgA(&request)) {
        switch (CommDlgExtendedError()) {
        case 0:
            return kPrintDone; // the user cancelled: nothing to print, nothing to say
        case PDERR_NODEFAULTPRN:
        case PDERR_NODEVICES:
            return kNoPrinterInstalled;
        default:
            return kPrintFailed;
        }
    }
    const ScopedGlobal deviceMode(request.hDevMode);
    const ScopedGlobal deviceNames(request.hDevNames);
    const ScopedPrinterDc printerDc(request.hDC);
    const HDC printer = printerDc.get();
    if (!printer) {
        return kPrintFailed;
    }

    TEXTMETRICA font = {};
    PageMetrics metrics = {};
    if (headerLines.size() < kFirstBodyLine || !GetTextMetricsA(printer, &font) ||
        !MeasurePage({font.tmHeight, font.tmExternalLeading, font.tmAveCharWidth},
                     GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES), metrics)) {
        return kPrintFailed;
    }
    const std::vector<std::string> body =
        PrintedBodyLines(BodyText(bodyEditor), metrics.charactersPerLine);
    const long long pageCount =
        PageCount(static_cast<long long>(body.size()), metrics.linesPerPage);

    char caption[256] = {};
    GetWindowTextA(mainWindow, caption, sizeof caption);
    const std::string documentName = PrintDocumentName(caption);
    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = documentName.c_str();

    PrintProgress progress(instance, mainWindow, printer);
    if (StartDocA(printer, &document) <= 0) {
        return kPrintFailed;
    }
    const bool collate = (request.Flags & PD_COLLATE) != 0;
    const long long sheets = SheetCount(pageCount, request.nCopies);
    bool printed = true;
    for (long long sheet = 0; printed && sheet < sheets; ++sheet) {
        const long long page = PageOfSheet(sheet, pageCount, request.nCopies, collate);
        printed = PrintPage(printer, page, metrics, headerLines, body) && progress.KeepPrinting();
    }
    // A job that failed or was cancelled leaves nothing half printed in the spooler.
    if (!printed) {
        AbortDoc(printer);
        return kPrintFailed;
    }
    return EndDoc(printer) > 0 ? kPrintDone : kPrintFailed;
}
