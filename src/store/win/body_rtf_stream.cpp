#include "store/win/body_rtf_stream.h"

#include "store/rtf_groups.h"

#include <richedit.h>

#include <cstring>
#include <new>

namespace {

struct ReadCursor {
    const std::string* bytes;
    size_t position;
};

DWORD CALLBACK CollectChunk(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    *done = 0;
    if (count <= 0) {
        return 0;
    }
    try {
        reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer),
                                                       static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        return 1; // stops the stream and becomes its error
    }
    *done = count;
    return 0;
}

DWORD CALLBACK GiveChunk(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    ReadCursor* cursor = reinterpret_cast<ReadCursor*>(cookie);
    const size_t left = cursor->bytes->size() - cursor->position;
    size_t take = count > 0 ? static_cast<size_t>(count) : 0;
    if (take > left) {
        take = left;
    }
    std::memcpy(buffer, cursor->bytes->data() + cursor->position, take);
    cursor->position += take;
    *done = static_cast<LONG>(take);
    return 0;
}

bool StreamIn(HWND editor, const std::string& bytes, WPARAM format) {
    ReadCursor cursor = {&bytes, 0};
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&cursor), 0, GiveChunk};
    SendMessageA(editor, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0;
}

} // namespace

bool WriteBodyRtf(HWND editor, std::string& rtf) {
    rtf.clear();
    if (!editor) {
        return false;
    }
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&rtf), 0, CollectChunk};
    SendMessageA(editor, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0;
}

bool ReadBodyRtf(HWND editor, const std::string& rtf) {
    if (!editor) {
        return false;
    }
    if (StreamIn(editor, rtf, SF_RTF)) {
        return true;
    }
    // A body cut short ends inside its groups; closed again, it shows what was there.
    if (OpenRtfGroups(rtf) > 0 && StreamIn(editor, CloseRtfGroups(rtf), SF_RTF)) {
        return true;
    }
    StreamIn(editor, rtf, SF_TEXT);
    return false;
}
