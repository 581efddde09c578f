#include "support/video_recording.h"

#include <cstdio>
#include <sstream>

#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/unix_command.h"

namespace {

std::map<UINT_PTR, std::function<void()>> pendingActions;

void CALLBACK RunPendingAction(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    auto found = pendingActions.find(timer);
    if (found != pendingActions.end()) {
        std::function<void()> action = std::move(found->second);
        pendingActions.erase(found);
        action();
    }
}

} // namespace

void SelectVideoEncoder(const std::string& programFolder, int videoSelection) {
    WriteWholeFile(programFolder + "plugin.ini",
                   "VERSION=10\nAUDIO_SELECTION=0\nMP3_QUALITY=0\nVIDEO_SELECTION=" +
                       std::to_string(videoSelection) + "\nREALVIDEO_SELECTION=1\n");
}

bool RunInVideoWindow(HWND mainWindow, const std::function<void(HWND)>& inside) {
    bool opened = false;
    WhenDialogAppears([&](HWND window) {
        opened = true;
        PumpMessages(); // the window lays itself out for the source's picture
        inside(window);
    });
    SendMessageA(mainWindow, WM_COMMAND, IDM_VIDEO_MESSAGE, 0);
    ForgetDialogAction();
    PumpMessages();
    return opened;
}

void After(int milliseconds, std::function<void()> action) {
    const UINT_PTR timer = SetTimer(nullptr, 0, static_cast<UINT>(milliseconds), RunPendingAction);
    pendingActions[timer] = std::move(action);
}

void Press(HWND window, int id) {
    SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void RecordFor(HWND window, int milliseconds) {
    After(milliseconds, [window] { PostMessageA(window, WM_COMMAND, IDC_VIDEO_STOP, 0); });
    Press(window, IDC_VIDEO_RECORD);
}

std::vector<std::map<std::string, std::string>> ProbeStreams(const std::string& folder,
                                                             const std::string& path) {
    const std::string out = folder + "ffprobe.txt";
    UnixCommand probe(folder, "ffprobe -v error -show_entries stream=codec_type,codec_name,"
                              "codec_tag_string,width,height,r_frame_rate,nb_frames,sample_rate,"
                              "channels,bits_per_sample -of compact=p=0 " +
                                  Quoted(path) + " > " + Quoted(out));
    std::vector<std::map<std::string, std::string>> streams;
    if (probe.Wait(20000) != 0) {
        return streams;
    }
    std::istringstream lines(ReadWholeFile(out));
    std::string line;
    while (std::getline(lines, line)) {
        std::printf("ffprobe: %s\n", line.c_str());
        std::map<std::string, std::string> stream;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, '|')) {
            const size_t equals = field.find('=');
            if (equals != std::string::npos) {
                stream[field.substr(0, equals)] = field.substr(equals + 1);
            }
        }
        streams.push_back(stream);
    }
    return streams;
}

std::vector<std::string> DecodeFrames(const std::string& folder, const std::string& path, int width,
                                      int height) {
    const std::string out = folder + "frames.rgb";
    UnixCommand decode(folder, "ffmpeg -v error -y -i " + Quoted(path) +
                                   " -map 0:v -f rawvideo -pix_fmt rgb24 " + Quoted(out));
    std::vector<std::string> frames;
    const size_t size = static_cast<size_t>(width) * height * 3;
    if (decode.Wait(60000) != 0 || size == 0) {
        return frames;
    }
    const std::string bytes = ReadWholeFile(out);
    for (size_t at = 0; at + size <= bytes.size(); at += size) {
        frames.push_back(bytes.substr(at, size));
    }
    return frames;
}
