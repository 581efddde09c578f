#include "video/win/screen_source.h"

#include <mmsystem.h>

#include <cstring>
#include <memory>
#include <vector>

#include "base/win/scoped_handles.h"
#include "video/avi_writer.h"
#include "video/bmp_file.h"
#include "video/motion_jpeg.h"
#include "video/screen_capture_rules.h"

namespace {

constexpr UINT_PTR kPreviewTimer = 1;
constexpr UINT kDefaultPreviewMs = 66;
constexpr DWORD kDefaultMicroSecPerFrame = 66667;
constexpr int kStatusCaptureStarted = 300; // IDS_CAP_BEGIN
constexpr int kStatusCaptureEnded = 301;   // IDS_CAP_END
constexpr int kStatusStatistics = 511;     // IDS_CAP_STAT_VIDEOAUDIO
constexpr DWORD kLongestWaitMs = 10;       // the capture-control callback runs at least this often
// A first sound buffer back later than this after its own length counts as a late start.
constexpr uint64_t kLateSoundMicroseconds = 150000;

// The last grabbed frame: a 24-bit bottom-up DIB section and a memory DC to draw it with.
struct FrameBuffer {
    ScopedMemoryDc dc;
    ScopedGdiObject<HBITMAP> bitmap;
    unsigned char* bits;
    int width;
    int height;
    size_t stride;
};

struct ScreenSource {
    FrameBuffer frame;
    bool grabbed; // the frame holds a picture
    bool preview;
    UINT previewMs;
    CAPTUREPARMS parms;
    WAVEFORMATEX audioFormat;
    char captureFile[MAX_PATH];
    bool capturing;
    bool stopRequested;
    DWORD frames;
    DWORD dropped;
    DWORD audioBytes;
    DWORD elapsedMs;
};

// --- The frame ------------------------------------------------------------------------------

bool CreateFrameBuffer(FrameBuffer& frame, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up, as a DIB file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    frame.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    frame.dc.reset(CreateCompatibleDC(nullptr));
    frame.bits = static_cast<unsigned char*>(bits);
    frame.width = width;
    frame.height = height;
    frame.stride = static_cast<size_t>(DibRowStride(width, 24));
    return frame.bitmap && frame.dc && frame.bits != nullptr;
}

// The primary screen scaled into the frame.
void GrabScreen(ScreenSource& source) {
    const WindowDc screen(nullptr);
    if (screen.get() == nullptr) {
        return;
    }
    FrameBuffer& frame = source.frame;
    const SelectedObject selection(frame.dc.get(), frame.bitmap.get());
    SetStretchBltMode(frame.dc.get(), HALFTONE);
    SetBrushOrgEx(frame.dc.get(), 0, 0, nullptr);
    StretchBlt(frame.dc.get(), 0, 0, frame.width, frame.height, screen.get(), 0, 0,
               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), SRCCOPY);
    GdiFlush();
    source.grabbed = true;
}

void ShowFrame(HWND window, const ScreenSource& source, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    if (!source.grabbed) {
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    const FrameBuffer& frame = source.frame;
    const SelectedObject selection(frame.dc.get(), frame.bitmap.get());
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, client.right, client.bottom, frame.dc.get(), 0, 0, frame.width,
               frame.height, SRCCOPY);
}

void ShowFrameNow(HWND window, const ScreenSource& source) {
    const WindowDc dc(window);
    if (dc.get() != nullptr) {
        ShowFrame(window, source, dc.get());
    }
}

RawFrameLayout FrameLayout(const FrameBuffer& frame) {
    RawFrameLayout layout = {};
    layout.dib.width = frame.width;
    layout.dib.height = frame.height;
    layout.dib.bitCount = 24;
    layout.bottomUp = true;
    layout.stride = frame.stride;
    return layout;
}

// --- Sound from the microphone ----------------------------------------------------------------

// The microphone, closed by its owner once every buffer is given back.
using ScopedWaveIn = ScopedHandle<scoped_handle_traits::NullIsNone<HWAVEIN, waveInClose>>;

// An open microphone with its buffers. The buffers are given back and unprepared when it goes
// out of scope, before the device closes.
struct SoundInput {
    ScopedWaveIn device;
    std::vector<WAVEHDR> headers;
    std::vector<std::vector<char>> blocks;
    size_t next = 0; // the buffer the device gives back next

    SoundInput() = default;
    SoundInput(const SoundInput&) = delete;
    SoundInput& operator=(const SoundInput&) = delete;
    ~SoundInput() {
        if (!device) {
            return;
        }
        GiveBackBuffers();
        for (WAVEHDR& header : headers) {
            if (header.dwFlags & WHDR_PREPARED) {
                waveInUnprepareHeader(device.get(), &header, sizeof header);
            }
        }
    }

    // Stops the device: every buffer comes back, the last one part filled.
    void GiveBackBuffers() {
        if (device) {
            waveInReset(device.get());
        }
    }
};

bool OpenSoundInput(SoundInput& input, const WAVEFORMATEX& format, int bufferCount) {
    HWAVEIN device = nullptr;
    if (waveInOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        return false;
    }
    input.device.reset(device);
    // A tenth of a second a buffer, whole blocks.
    const DWORD align = format.nBlockAlign > 0 ? format.nBlockAlign : 1;
    const DWORD size = (format.nAvgBytesPerSec / 10 / align + 1) * align;
    input.headers.assign(static_cast<size_t>(bufferCount), WAVEHDR{});
    input.blocks.assign(static_cast<size_t>(bufferCount), std::vector<char>(size));
    for (size_t i = 0; i < input.headers.size(); ++i) {
        WAVEHDR& header = input.headers[i];
        header.lpData = input.blocks[i].data();
        header.dwBufferLength = size;
        if (waveInPrepareHeader(input.device.get(), &header, sizeof header) != MMSYSERR_NOERROR ||
            waveInAddBuffer(input.device.get(), &header, sizeof header) != MMSYSERR_NOERROR) {
            return false;
        }
    }
    return true;
}

// Writes the buffers the device has given back, in their order, and hands them back to it
// unless the recording is over.
void CollectSound(SoundInput& input, AviWriter& writer, int stream, DWORD& bytes, bool last) {
    for (size_t n = 0; n < input.headers.size(); ++n) {
        WAVEHDR& header = input.headers[input.next];
        if (!(header.dwFlags & WHDR_DONE)) {
            return;
        }
        if (header.dwBytesRecorded > 0) {
            WriteAviChunk(writer, stream, header.lpData, header.dwBytesRecorded, true);
            bytes += header.dwBytesRecorded;
        }
        header.dwBytesRecorded = 0;
        if (!last) {
            header.dwFlags &= ~WHDR_DONE;
            waveInAddBuffer(input.device.get(), &header, sizeof header);
        }
        input.next = (input.next + 1) % input.headers.size();
    }
}

// --- Recording --------------------------------------------------------------------------------

void Report(const CaptureSourceCall& call, int id, const char* text) {
    if (call.status != nullptr) {
        call.status(call.window, id, text);
    }
}

// A key or mouse button that ends the recording once it goes down (one held down when the
// recording starts counts only after it was let go).
struct AbortKey {
    int key;
    bool armed;
};

bool KeyDown(int key) {
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

std::vector<AbortKey> AbortKeys(const CAPTUREPARMS& parms) {
    std::vector<AbortKey> keys;
    if (parms.vKeyAbort != 0) {
        keys.push_back({static_cast<int>(parms.vKeyAbort), false});
    }
    if (parms.fAbortLeftMouse) {
        keys.push_back({VK_LBUTTON, false});
    }
    if (parms.fAbortRightMouse) {
        keys.push_back({VK_RBUTTON, false});
    }
    for (AbortKey& key : keys) {
        key.armed = !KeyDown(key.key);
    }
    return keys;
}

bool AbortPressed(std::vector<AbortKey>& keys) {
    for (AbortKey& key : keys) {
        const bool down = KeyDown(key.key);
        if (key.armed && down) {
            return true;
        }
        key.armed = key.armed || !down;
    }
    return false;
}

uint64_t Microseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& frequency) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<uint64_t>(now.QuadPart - from.QuadPart) * 1000000u /
           static_cast<uint64_t>(frequency.QuadPart);
}

std::vector<AviStreamSpec> StreamsFor(const ScreenSource& source, DWORD microSecPerFrame,
                                      bool withSound) {
    std::vector<AviStreamSpec> streams(withSound ? 2 : 1);
    AviStreamSpec& video = streams[0];
    video.header.type = kVideoStreamType;
    video.header.handler = kMotionJpegHandler;
    video.header.scale = microSecPerFrame;
    video.header.rate = 1000000;
    video.header.quality = 0xFFFFFFFF;
    video.header.frame[2] = static_cast<int16_t>(source.frame.width);
    video.header.frame[3] = static_cast<int16_t>(source.frame.height);
    const uint32_t imageSize = static_cast<uint32_t>(source.frame.stride * source.frame.height);
    video.format = EncodeBitmapFormat(
        {source.frame.width, source.frame.height, 24, kMotionJpegHandler, imageSize});
    std::memcpy(video.chunkType, "dc", 3);
    if (withSound) {
        const WAVEFORMATEX& format = source.audioFormat;
        AviStreamSpec& sound = streams[1];
        sound.header.type = kAudioStreamType;
        sound.header.scale = format.nBlockAlign;
        sound.header.rate = format.nAvgBytesPerSec;
        sound.header.sampleSize = format.nBlockAlign;
        sound.header.quality = 0xFFFFFFFF;
        const auto* bytes = reinterpret_cast<const unsigned char*>(&format);
        sound.format.assign(bytes, bytes + sizeof(WAVEFORMATEX)); // 18 bytes, no extra
        std::memcpy(sound.chunkType, "wb", 3);
    }
    return streams;
}

// Writes `milliseconds` of silence into the sound stream.
void WriteSilence(AviWriter& writer, const WAVEFORMATEX& format, uint64_t milliseconds,
                  DWORD& bytes) {
    const DWORD align = format.nBlockAlign > 0 ? format.nBlockAlign : 1;
    const size_t size =
        static_cast<size_t>(milliseconds * format.nAvgBytesPerSec / 1000 / align * align);
    const std::vector<char> silence(size, format.wBitsPerSample == 8 ? '\x80' : '\0');
    if (size > 0 && WriteAviChunk(writer, 1, silence.data(), static_cast<uint32_t>(size), true)) {
        bytes += static_cast<DWORD>(size);
    }
}

// A device that starts late (as Wine's does) loses what was said before its first buffer: that
// buffer ended when it came back, and the time before it becomes silence, so that the sound
// stays with the pictures.
void AlignSoundStart(SoundInput& input, AviWriter& writer, const WAVEFORMATEX& format,
                     uint64_t elapsedMicroseconds, DWORD& bytes) {
    const WAVEHDR& first = input.headers[input.next];
    if (bytes > 0 || !(first.dwFlags & WHDR_DONE) || format.nAvgBytesPerSec == 0) {
        return;
    }
    const uint64_t heard = 1000000ull * first.dwBytesRecorded / format.nAvgBytesPerSec;
    if (elapsedMicroseconds > heard + kLateSoundMicroseconds) {
        WriteSilence(writer, format, (elapsedMicroseconds - heard) / 1000, bytes);
    }
}

// Silence at the end, so that the sound lasts as long as the pictures.
void PadSound(AviWriter& writer, const WAVEFORMATEX& format, DWORD frames, DWORD microSecPerFrame,
              DWORD& bytes) {
    const uint64_t wanted =
        static_cast<uint64_t>(frames) * microSecPerFrame * format.nAvgBytesPerSec / 1000000;
    if (wanted > bytes && format.nAvgBytesPerSec > 0) {
        WriteSilence(writer, format, (wanted - bytes) * 1000 / format.nAvgBytesPerSec, bytes);
    }
}

LRESULT RecordSequence(const CaptureSourceCall& call, ScreenSource& source) {
    if (source.capturing || source.captureFile[0] == '\0') {
        return FALSE;
    }
    const DWORD microSecPerFrame = source.parms.dwRequestMicroSecPerFrame > 0
                                       ? source.parms.dwRequestMicroSecPerFrame
                                       : kDefaultMicroSecPerFrame;
    const DWORD largestFrameCount =
        source.parms.wNumVideoRequested > 0 ? source.parms.wNumVideoRequested : 0xFFFFFFFF;
    SoundInput sound;
    int buffers = static_cast<int>(source.parms.wNumAudioRequested);
    buffers = buffers < 4 ? 4 : (buffers > 16 ? 16 : buffers);
    const bool withSound =
        source.parms.fCaptureAudio && OpenSoundInput(sound, source.audioFormat, buffers);
    AviWriter writer;
    AviMainHeader main = {};
    main.microSecPerFrame = microSecPerFrame;
    main.flags = kAviHasIndex | kAviIsInterleaved;
    main.width = static_cast<uint32_t>(source.frame.width);
    main.height = static_cast<uint32_t>(source.frame.height);
    if (!OpenAviWriter(writer, source.captureFile, main,
                       StreamsFor(source, microSecPerFrame, withSound))) {
        return FALSE;
    }
    source.capturing = true;
    source.stopRequested = false;
    source.frames = source.dropped = source.audioBytes = source.elapsedMs = 0;
    Report(call, 0, "");
    Report(call, kStatusCaptureStarted, kCaptureStartedText);
    if (call.control != nullptr) {
        call.control(call.window, CONTROLCALLBACK_PREROLL);
    }
    std::vector<AbortKey> keys = AbortKeys(source.parms);
    const RawFrameLayout layout = FrameLayout(source.frame);
    std::vector<unsigned char> jpeg;
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (withSound) {
        waveInStart(sound.device.get());
    }
    for (;;) {
        const uint64_t elapsed = Microseconds(start, frequency);
        DWORD due = FramesDue(elapsed, microSecPerFrame);
        due = due < largestFrameCount ? due : largestFrameCount;
        if (source.frames < due) {
            // Frames the loop was too late for stay empty: the player shows the last one longer.
            for (; source.frames + 1 < due; ++source.frames, ++source.dropped) {
                WriteAviChunk(writer, 0, nullptr, 0, false);
            }
            GrabScreen(source);
            if (CompressRawFrame(layout, source.frame.bits, source.frame.stride * layout.dib.height,
                                 jpeg)) {
                WriteAviChunk(writer, 0, jpeg.data(), static_cast<uint32_t>(jpeg.size()), true);
            } else {
                WriteAviChunk(writer, 0, nullptr, 0, false);
                ++source.dropped;
            }
            ++source.frames;
            ShowFrameNow(call.window, source);
        }
        if (withSound) {
            AlignSoundStart(sound, writer, source.audioFormat, Microseconds(start, frequency),
                            source.audioBytes);
            CollectSound(sound, writer, 1, source.audioBytes, false);
        }
        source.elapsedMs = static_cast<DWORD>(elapsed / 1000);
        if (writer.failed || source.stopRequested || source.frames >= largestFrameCount ||
            (source.parms.fLimitEnabled && elapsed >= source.parms.wTimeLimit * 1000000ull) ||
            AbortPressed(keys)) {
            break;
        }
        if (call.control != nullptr && !call.control(call.window, CONTROLCALLBACK_CAPTURING)) {
            break;
        }
        const uint64_t next = static_cast<uint64_t>(source.frames) * microSecPerFrame;
        const uint64_t now = Microseconds(start, frequency);
        const DWORD wait = next > now ? static_cast<DWORD>((next - now) / 1000) : 0;
        MsgWaitForMultipleObjectsEx(0, nullptr, wait < kLongestWaitMs ? wait : kLongestWaitMs,
                                    QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    if (withSound) {
        sound.GiveBackBuffers();
        CollectSound(sound, writer, 1, source.audioBytes, true);
        PadSound(writer, source.audioFormat, source.frames, microSecPerFrame, source.audioBytes);
    }
    const bool written = CloseAviWriter(writer);
    source.capturing = false;
    char statistics[200];
    FormatCaptureStatistics(source.elapsedMs, source.frames, source.dropped, source.audioBytes,
                            withSound ? source.audioFormat.nAvgBytesPerSec : 0, statistics,
                            sizeof statistics);
    Report(call, kStatusStatistics, statistics);
    Report(call, kStatusCaptureEnded, kCaptureEndedText);
    return written ? TRUE : FALSE;
}

// --- The capture-window messages ----------------------------------------------------------------

ScreenSource* Connect(const CaptureSourceCall& call) {
    const ScreenFrameSize size =
        ScaledScreenSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    auto source = std::make_unique<ScreenSource>();
    if (size.width == 0 || !CreateFrameBuffer(source->frame, size.width, size.height)) {
        return nullptr;
    }
    source->previewMs = kDefaultPreviewMs;
    CAPTUREPARMS& parms = source->parms;
    parms.dwRequestMicroSecPerFrame = kDefaultMicroSecPerFrame;
    parms.wPercentDropForError = 10;
    parms.wNumVideoRequested = 32;
    parms.fCaptureAudio = waveInGetNumDevs() > 0;
    parms.wNumAudioRequested = 4;
    parms.vKeyAbort = VK_ESCAPE;
    parms.fAbortLeftMouse = TRUE;
    parms.fAbortRightMouse = TRUE;
    parms.wTimeLimit = 30;
    parms.AVStreamMaster = AVSTREAMMASTER_AUDIO;
    WAVEFORMATEX& audio = source->audioFormat;
    audio.wFormatTag = WAVE_FORMAT_PCM;
    audio.nChannels = 1;
    audio.nSamplesPerSec = 11025;
    audio.nAvgBytesPerSec = 11025;
    audio.nBlockAlign = 1;
    audio.wBitsPerSample = 8;
    *call.state = source.get();
    return source.release(); // owned through the window's state until Disconnect
}

void Disconnect(const CaptureSourceCall& call, ScreenSource* source) {
    KillTimer(call.window, kPreviewTimer);
    const std::unique_ptr<ScreenSource> owned(source); // its frame's bitmap and DC go with it
    *call.state = nullptr;
}

void SetPreview(HWND window, ScreenSource& source, bool on) {
    source.preview = on;
    if (!on) {
        KillTimer(window, kPreviewTimer);
        return;
    }
    SetTimer(window, kPreviewTimer, source.previewMs, nullptr);
    GrabScreen(source);
    InvalidateRect(window, nullptr, FALSE);
}

// Copies a structure the caller gave the size of; false when it is smaller than ours.
template <typename T> bool CopyOut(const T& value, WPARAM size, LPARAM out) {
    if (out == 0 || size < sizeof(T)) {
        return false;
    }
    std::memcpy(reinterpret_cast<void*>(out), &value, sizeof(T));
    return true;
}

BITMAPINFOHEADER FrameFormat(const ScreenSource& source) {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = source.frame.width;
    header.biHeight = source.frame.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(source.frame.stride * source.frame.height);
    return header;
}

bool SameFrameFormat(const ScreenSource& source, WPARAM size, LPARAM format) {
    if (format == 0 || size < sizeof(BITMAPINFOHEADER)) {
        return false;
    }
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(format);
    return header->biWidth == source.frame.width && header->biHeight == source.frame.height &&
           header->biBitCount == 24 && header->biCompression == BI_RGB;
}

CAPSTATUS Status(const ScreenSource& source) {
    CAPSTATUS status = {};
    status.uiImageWidth = static_cast<UINT>(source.frame.width);
    status.uiImageHeight = static_cast<UINT>(source.frame.height);
    status.fLiveWindow = source.preview;
    status.fAudioHardware = waveInGetNumDevs() > 0;
    status.fCapFileExists = source.captureFile[0] != '\0';
    status.dwCurrentVideoFrame = source.frames;
    status.dwCurrentVideoFramesDropped = source.dropped;
    status.dwCurrentWaveSamples = source.audioBytes;
    status.dwCurrentTimeElapsedMS = source.elapsedMs;
    status.fCapturingNow = source.capturing;
    return status;
}

bool Answer(const CaptureSourceCall& call, UINT message, WPARAM wParam, LPARAM lParam,
            LRESULT& result) {
    auto* source = static_cast<ScreenSource*>(*call.state);
    if (message == WM_CAP_DRIVER_CONNECT) {
        result = source != nullptr || Connect(call) != nullptr;
        return true;
    }
    if (source == nullptr) {
        return false;
    }
    switch (message) {
    case WM_CAP_DRIVER_DISCONNECT:
        Disconnect(call, source);
        result = TRUE;
        return true;
    case WM_CAP_DRIVER_GET_NAMEA:
    case WM_CAP_DRIVER_GET_VERSIONA:
        if (lParam != 0 && wParam > 0) {
            const char* text =
                message == WM_CAP_DRIVER_GET_NAMEA ? kScreenSourceName : kScreenSourceVersion;
            lstrcpynA(reinterpret_cast<char*>(lParam), text, static_cast<int>(wParam));
            result = TRUE;
        }
        return true;
    case WM_CAP_DRIVER_GET_CAPS: {
        CAPDRIVERCAPS caps = {};
        caps.fCaptureInitialized = TRUE;
        result = CopyOut(caps, wParam, lParam);
        return true;
    }
    case WM_CAP_GET_STATUS:
        result = CopyOut(Status(*source), wParam, lParam);
        return true;
    case WM_CAP_SET_PREVIEWRATE:
        source->previewMs = wParam > 0 ? static_cast<UINT>(wParam) : kDefaultPreviewMs;
        if (source->preview) {
            SetTimer(call.window, kPreviewTimer, source->previewMs, nullptr);
        }
        result = TRUE;
        return true;
    case WM_CAP_SET_PREVIEW:
        SetPreview(call.window, *source, wParam != 0);
        result = TRUE;
        return true;
    case WM_CAP_GET_SEQUENCE_SETUP:
        result = CopyOut(source->parms, wParam, lParam);
        return true;
    case WM_CAP_SET_SEQUENCE_SETUP:
        if (lParam != 0 && wParam >= sizeof(CAPTUREPARMS)) {
            std::memcpy(&source->parms, reinterpret_cast<const void*>(lParam),
                        sizeof(CAPTUREPARMS));
            result = TRUE;
        }
        return true;
    case WM_CAP_GET_AUDIOFORMAT:
        result = lParam == 0
                     ? sizeof(WAVEFORMATEX)
                     : (CopyOut(source->audioFormat, wParam, lParam) ? sizeof(WAVEFORMATEX) : 0);
        return true;
    case WM_CAP_SET_AUDIOFORMAT: {
        const auto* format = reinterpret_cast<const WAVEFORMATEX*>(lParam);
        if (format != nullptr && wParam >= 16 && format->wFormatTag == WAVE_FORMAT_PCM &&
            format->nChannels > 0 && format->nBlockAlign > 0) {
            source->audioFormat = WAVEFORMATEX{};
            std::memcpy(&source->audioFormat, format, 16);
            result = TRUE;
        }
        return true;
    }
    case WM_CAP_FILE_SET_CAPTURE_FILEA:
        if (lParam != 0) {
            lstrcpynA(source->captureFile, reinterpret_cast<const char*>(lParam),
                      sizeof source->captureFile);
            result = TRUE;
        }
        return true;
    case WM_CAP_FILE_GET_CAPTURE_FILEA:
        if (lParam != 0 && wParam > 0) {
            lstrcpynA(reinterpret_cast<char*>(lParam), source->captureFile,
                      static_cast<int>(wParam));
            result = TRUE;
        }
        return true;
    case WM_CAP_SEQUENCE:
        result = RecordSequence(call, *source);
        return true;
    case WM_CAP_STOP:
    case WM_CAP_ABORT:
        source->stopRequested = true;
        result = TRUE;
        return true;
    case WM_CAP_GET_VIDEOFORMAT:
        result = sizeof(BITMAPINFOHEADER);
        if (lParam != 0 && !CopyOut(FrameFormat(*source), wParam, lParam)) {
            result = 0;
        }
        return true;
    case WM_CAP_SET_VIDEOFORMAT:
        result = SameFrameFormat(*source, wParam, lParam);
        return true;
    case WM_CAP_GRAB_FRAME:
    case WM_CAP_GRAB_FRAME_NOSTOP:
        if (message == WM_CAP_GRAB_FRAME) {
            SetPreview(call.window, *source, false);
        }
        GrabScreen(*source);
        ShowFrameNow(call.window, *source);
        result = TRUE;
        return true;
    case WM_CAP_FILE_SAVEDIBA:
        result = lParam != 0 && source->grabbed &&
                 WriteBmp24File(reinterpret_cast<const char*>(lParam), source->frame.width,
                                source->frame.height, source->frame.bits);
        return true;
    case WM_TIMER:
        if (wParam != kPreviewTimer) {
            return false;
        }
        if (source->preview && !source->capturing) {
            GrabScreen(*source);
            InvalidateRect(call.window, nullptr, FALSE);
        }
        return true;
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT: {
        const PaintDc paint(call.window);
        ShowFrame(call.window, *source, paint.get());
        return true;
    }
    default:
        return false; // the driver dialogs and the rest: not offered
    }
}

} // namespace

const OwnCaptureSource& ScreenCaptureSource() {
    static const OwnCaptureSource source = {kScreenSourceName, kScreenSourceVersion, Answer};
    return source;
}
