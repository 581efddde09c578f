#include "video/win/video_attach.h"

#include <vfw.h>
#include <windowsx.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/win/message_box.h"
#include "base/scoped_file.h"
#include "base/win/scoped_handles.h"
#include "compose/win/attachments.h"
#include "plugins/plugin_settings.h"
#include "plugins/win/plugin_state.h"
#include "resources/resource_ids.h"
#include "video/motion_jpeg.h"
#include "video/video_attach_rules.h"
#include "video/video_names.h"

namespace {

constexpr int kLargestStreams = 50;

// The platform AVI library's file and stream objects, released when they go out of scope.
using ScopedAviFile = ScopedHandle<scoped_handle_traits::NullIsNone<PAVIFILE, AVIFileRelease>>;
using ScopedAviStream =
    ScopedHandle<scoped_handle_traits::NullIsNone<PAVISTREAM, AVIStreamRelease>>;

// The platform AVI library, in use from AVIFileInit to AVIFileExit. Made before the files and
// streams it opens, so that they are released first.
class AviLibrary {
  public:
    AviLibrary() { AVIFileInit(); }
    AviLibrary(const AviLibrary&) = delete;
    AviLibrary& operator=(const AviLibrary&) = delete;
    ~AviLibrary() { AVIFileExit(); }
};

// The window whose caption shows the progress of a compression.
HWND progressWindow = nullptr;

BOOL CALLBACK ShowSaveProgress(int percent) {
    char caption[64];
    if (CompressionCaption(percent, caption, sizeof caption)) {
        SetWindowTextA(progressWindow, caption);
    }
    return 0; // never cancels
}

// The own compressor reports 0 to 100 once over the whole clip; given to the caption as the
// first half of the range, the caption's 100% comes with the last frame, not half-way.
void ShowCompressProgress(void* context, int percent) {
    int& shown = *static_cast<int*>(context);
    if (percent / 2 > shown) {
        shown = percent / 2;
        ShowSaveProgress(shown);
    }
}

struct AttachRun {
    const VideoAttachTarget& target;
    std::string capturePath;
    ScopedAviFile file;
    char name[kVideoNameBufferSize];
};

std::string ProgramFile(const AttachRun& run, const char* name) {
    return std::string(run.target.programDirectory) + name;
}

// Reads the typed name and checks it. A refused name is reported and the window stays open
// with the name box focused: true. So is a name that would overwrite the capture file itself,
// which would lose the recording.
bool NameRefused(AttachRun& run) {
    std::memset(run.name, 0, sizeof run.name);
    GetWindowTextA(run.target.nameEdit, run.name, sizeof run.name);
    const char* text = nullptr;
    const char* caption = nullptr;
    if (!ValidateVideoName(run.name, pluginSettings.videoSelection)) {
        text = kInvalidVideoNameText;
        caption = kRenameVideoCaption;
    } else if (lstrcmpiA(run.name, kCaptureFileName) == 0) {
        text = kOverwriteOpenAviText;
        caption = kAviErrorCaption;
    } else {
        return false;
    }
    ShowMessageBox(run.target.dialog, text, caption, MB_OK | MB_ICONSTOP);
    SetFocus(run.target.nameEdit);
    return true;
}

void AttachProgramFile(const AttachRun& run) {
    AddAttachment(ProgramFile(run, run.name).c_str());
}

bool CaptureCompressed(const AttachRun& run) {
    unsigned char head[kCaptureHeadSize];
    const ScopedFile capture(run.capturePath.c_str(), "rb");
    if (!capture) {
        return false;
    }
    const size_t got = std::fread(head, 1, sizeof head, capture.get());
    return CaptureIsCompressed(head, got);
}

// A compressed capture is attached as it is, copied under the chosen name.
bool CopyCapture(AttachRun& run) {
    const ScopedFile capture(run.capturePath.c_str(), "rb");
    if (NameRefused(run)) {
        return true;
    }
    const std::string target = ProgramFile(run, run.name);
    DeleteFileA(target.c_str());
    if (capture) {
        const ScopedFile copy(target.c_str(), "wb");
        char block[kCopyBlockSize];
        size_t got;
        while (copy && (got = std::fread(block, 1, sizeof block, capture.get())) > 0) {
            std::fwrite(block, 1, got, copy.get());
        }
    }
    AttachProgramFile(run);
    return false;
}

bool IndeoCodecInstalled() {
    char windows[MAX_PATH] = {};
    if (GetEnvironmentVariableA("windir", windows, sizeof windows) == 0) {
        return false;
    }
    for (const char* folder : {"\\system\\", "\\system32\\"}) {
        const std::string path = std::string(windows) + folder + "ir32_32.dll";
        if (ScopedFile(path.c_str(), "rb")) {
            return true;
        }
    }
    return false;
}

// The platform's AVI save with the Indeo 3.2 compressor, where that codec is installed.
bool SaveWithIndeo(AttachRun& run) {
    ScopedAviStream owners[kLargestStreams];
    PAVISTREAM streams[kLargestStreams] = {};
    AVICOMPRESSOPTIONS options[kLargestStreams] = {};
    LPAVICOMPRESSOPTIONS pointers[kLargestStreams] = {};
    int count = 0;
    while (count < kLargestStreams &&
           AVIFileGetStream(run.file.get(), &streams[count], 0, count) == AVIERR_OK) {
        owners[count].reset(streams[count]);
        ++count;
    }
    for (int i = 0; i < count; ++i) {
        AVISTREAMINFOA info = {};
        AVIStreamInfoA(streams[i], &info, sizeof info);
        const StreamCompressOptions wanted = CompressOptionsFor(info.fccType);
        AVICOMPRESSOPTIONS& o = options[i];
        o.fccType = wanted.type;
        o.fccHandler = wanted.handler;
        o.dwKeyFrameEvery = wanted.keyFrameEvery;
        o.dwQuality = wanted.quality;
        o.dwBytesPerSecond = wanted.bytesPerSecond;
        o.dwFlags = wanted.flags;
        o.dwInterleaveEvery = wanted.interleaveEvery;
        if (wanted.ownFormat) {
            LONG size = 0;
            const LONG start = AVIStreamStart(streams[i]);
            AVIStreamReadFormat(streams[i], start, nullptr, &size);
            o.cbFormat = static_cast<DWORD>(size);
            o.lpFormat = GlobalAllocPtr(GMEM_MOVEABLE | GMEM_ZEROINIT, size > 0 ? size : 1);
            AVIStreamReadFormat(streams[i], start, o.lpFormat, &size);
        }
        pointers[i] = &o;
    }
    if (NameRefused(run)) {
        AVISaveOptionsFree(count, pointers); // the format blocks; the streams go with `owners`
        return true;
    }
    const std::string target = ProgramFile(run, run.name);
    DeleteFileA(target.c_str());
    const HRESULT result =
        AVISaveVA(target.c_str(), nullptr, ShowSaveProgress, count, streams, pointers);
    const char* error = AviSaveErrorText(static_cast<uint32_t>(result));
    if (error != nullptr) {
        ShowMessageBox(run.target.dialog, error, kAviErrorCaption, MB_OK);
    }
    AVISaveOptionsFree(count, pointers);
    if (result == AVIERR_OK) {
        AttachProgramFile(run);
    }
    return false;
}

// Without that codec the raw frames become Motion-JPEG, written by the program's own AVI code.
bool SaveAsMotionJpeg(AttachRun& run) {
    if (NameRefused(run)) {
        return true;
    }
    const std::string target = ProgramFile(run, run.name);
    DeleteFileA(target.c_str());
    int shown = -1;
    const MotionJpegResult result =
        CompressToMotionJpeg(run.capturePath.c_str(), target.c_str(), ShowCompressProgress, &shown);
    switch (result) {
    case MotionJpegResult::Written:
        AttachProgramFile(run);
        break;
    case MotionJpegResult::Unsupported:
        ShowMessageBox(run.target.dialog, kEncoderMissingText, kEncoderMissingCaption,
                       MB_OK | MB_ICONEXCLAMATION);
        break;
    case MotionJpegResult::Unreadable:
    case MotionJpegResult::WriteFailed:
        ShowMessageBox(run.target.dialog, kSaveAviFailedText, kAviErrorCaption, MB_OK);
        break;
    }
    return false;
}

// RealVideo: the capture file stays for the encoder, which the main window runs.
bool HandToRealVideo(AttachRun& run) {
    if (NameRefused(run)) {
        return true;
    }
    DeleteFileA(ProgramFile(run, run.name).c_str());
    std::memset(encoderOutputName, 0, sizeof encoderOutputName);
    lstrcpynA(encoderOutputName, run.name, sizeof encoderOutputName);
    PostMessageA(run.target.mainWindow, WM_COMMAND, IDM_REALVIDEO_ENCODE, 0);
    return false;
}

bool AttachOpenedCapture(AttachRun& run) {
    const int selection = pluginSettings.videoSelection;
    if (selection == kVideoRealVideo) {
        return HandToRealVideo(run);
    }
    const bool compressed = CaptureCompressed(run);
    if (compressed) {
        return CopyCapture(run);
    }
    if (selection != kVideoWindowsCodecs) {
        return false; // a raw capture under a selection of neither kind is not attached
    }
    return IndeoCodecInstalled() ? SaveWithIndeo(run) : SaveAsMotionJpeg(run);
}

} // namespace

bool AttachVideo(const VideoAttachTarget& target, VideoCaptureState& state) {
    const AviLibrary library;
    AttachRun run = {target, std::string(target.programDirectory) + kCaptureFileName, {}, {}};
    progressWindow = target.dialog;
    PAVIFILE file = nullptr;
    if (AVIFileOpenA(&file, run.capturePath.c_str(), OF_READ, nullptr) != AVIERR_OK) {
        ShowMessageBox(target.dialog, kCaptureOpenFailedText, kVideoErrorCaption, MB_OK);
    } else {
        run.file.reset(file);
        if (AttachOpenedCapture(run)) {
            return true; // the window stays for another name; the capture file is released
        }
    }
    NoteVideoAttached(state);
    if (run.file) {
        run.file.reset();
        if (pluginSettings.videoSelection != kVideoRealVideo) {
            DeleteFileA(run.capturePath.c_str());
        }
    }
    return false;
}
