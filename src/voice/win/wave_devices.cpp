#include "voice/win/wave_devices.h"

#include <mmreg.h>
#include <msacm.h>

#include "base/win/message_box.h"
#include "resources/resource_ids.h"

namespace {

constexpr DWORD kOpenFlags = CALLBACK_WINDOW | WAVE_ALLOWSYNC;

WaveDevices& DevicesOf(void* context) {
    return *static_cast<WaveDevices*>(context);
}

const WAVEFORMATEX* FormatOf(const unsigned char* format) {
    return reinterpret_cast<const WAVEFORMATEX*>(format);
}

bool MaxFormatSize(void*, uint32_t* size) {
    DWORD metric = 0;
    if (acmMetrics(nullptr, ACM_METRIC_MAX_SIZE_FORMAT, &metric) != MMSYSERR_NOERROR) {
        return false;
    }
    *size = metric;
    return true;
}

void DescribeFormat(void*, const unsigned char* format, bool* tagFound, bool* formatFound) {
    const WAVEFORMATEX* wave = FormatOf(format);
    ACMFORMATTAGDETAILSA tag = {};
    tag.cbStruct = sizeof tag;
    tag.dwFormatTag = wave->wFormatTag;
    *tagFound =
        acmFormatTagDetailsA(nullptr, &tag, ACM_FORMATTAGDETAILSF_FORMATTAG) == MMSYSERR_NOERROR;

    ACMFORMATDETAILSA details = {};
    details.cbStruct = sizeof details;
    details.dwFormatTag = wave->wFormatTag;
    details.pwfx = const_cast<WAVEFORMATEX*>(wave);
    details.cbwfx = sizeof(WAVEFORMATEX) + wave->cbSize;
    *formatFound =
        acmFormatDetailsA(nullptr, &details, ACM_FORMATDETAILSF_FORMAT) == MMSYSERR_NOERROR;
}

uint32_t InputDeviceCount(void*) {
    return waveInGetNumDevs();
}

bool Open(void* context, WaveDirection direction, const unsigned char* format) {
    WaveDevices& devices = DevicesOf(context);
    const auto callback = reinterpret_cast<DWORD_PTR>(devices.window);
    for (WAVEHDR& header : devices.headers) {
        header = WAVEHDR{};
    }
    if (direction == WaveDirection::Input) {
        HWAVEIN input = nullptr;
        if (waveInOpen(&input, WAVE_MAPPER, FormatOf(format), callback, 0, kOpenFlags) !=
            MMSYSERR_NOERROR) {
            return false;
        }
        devices.input = input;
        return true;
    }
    HWAVEOUT output = nullptr;
    if (waveOutOpen(&output, WAVE_MAPPER, FormatOf(format), callback, 0, kOpenFlags) !=
        MMSYSERR_NOERROR) {
        return false;
    }
    devices.output = output;
    return true;
}

bool Prepare(void* context, WaveDirection direction, int index, unsigned char* data,
             uint32_t length) {
    WaveDevices& devices = DevicesOf(context);
    WAVEHDR& header = devices.headers[index];
    header = WAVEHDR{};
    header.lpData = reinterpret_cast<LPSTR>(data);
    header.dwBufferLength = length;
    if (direction == WaveDirection::Input) {
        return waveInPrepareHeader(devices.input, &header, sizeof header) == MMSYSERR_NOERROR;
    }
    return waveOutPrepareHeader(devices.output, &header, sizeof header) == MMSYSERR_NOERROR;
}

bool Unprepare(void* context, WaveDirection direction, int index) {
    WaveDevices& devices = DevicesOf(context);
    WAVEHDR& header = devices.headers[index];
    if (direction == WaveDirection::Input) {
        return waveInUnprepareHeader(devices.input, &header, sizeof header) == MMSYSERR_NOERROR;
    }
    return waveOutUnprepareHeader(devices.output, &header, sizeof header) == MMSYSERR_NOERROR;
}

bool AddInput(void* context, int index) {
    WaveDevices& devices = DevicesOf(context);
    WAVEHDR& header = devices.headers[index];
    header.dwBytesRecorded = 0;
    return waveInAddBuffer(devices.input, &header, sizeof header) == MMSYSERR_NOERROR;
}

bool StartInput(void* context) {
    return waveInStart(DevicesOf(context).input) == MMSYSERR_NOERROR;
}

bool WriteOutput(void* context, int index, uint32_t length) {
    WaveDevices& devices = DevicesOf(context);
    WAVEHDR& header = devices.headers[index];
    header.dwBufferLength = length;
    header.dwFlags = WHDR_PREPARED;
    return waveOutWrite(devices.output, &header, sizeof header) == MMSYSERR_NOERROR;
}

bool Reset(void* context, WaveDirection direction) {
    WaveDevices& devices = DevicesOf(context);
    if (direction == WaveDirection::Input) {
        return waveInReset(devices.input) == MMSYSERR_NOERROR;
    }
    return waveOutReset(devices.output) == MMSYSERR_NOERROR;
}

bool Close(void* context, WaveDirection direction) {
    WaveDevices& devices = DevicesOf(context);
    // The handle is forgotten either way: messages of a closed device are not ours any more.
    if (direction == WaveDirection::Input) {
        HWAVEIN input = devices.input;
        devices.input = nullptr;
        return waveInClose(input) == MMSYSERR_NOERROR;
    }
    HWAVEOUT output = devices.output;
    devices.output = nullptr;
    return waveOutClose(output) == MMSYSERR_NOERROR;
}

bool Position(void* context, WaveDirection direction, uint32_t* bytes) {
    WaveDevices& devices = DevicesOf(context);
    MMTIME time = {};
    time.wType = TIME_BYTES;
    const MMRESULT result = direction == WaveDirection::Input
                                ? waveInGetPosition(devices.input, &time, sizeof time)
                                : waveOutGetPosition(devices.output, &time, sizeof time);
    if (result != MMSYSERR_NOERROR || time.wType != TIME_BYTES) {
        return false;
    }
    *bytes = time.u.cb;
    return true;
}

void StartTimer(void* context, int id, int milliseconds) {
    SetTimer(DevicesOf(context).window, static_cast<UINT_PTR>(id), static_cast<UINT>(milliseconds),
             nullptr);
}

void StopTimer(void* context, int id) {
    KillTimer(DevicesOf(context).window, static_cast<UINT_PTR>(id));
}

void Redraw(void* context) {
    HWND window = DevicesOf(context).window;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

void PostStopCommand(void* context) {
    PostMessageA(DevicesOf(context).window, WM_COMMAND, IDC_STOP_KEY, 0);
}

void Report(void* context, const char* text, bool owned) {
    ShowMessageBox(owned ? DevicesOf(context).window : nullptr, text, kRecorderErrorCaption, MB_OK);
}

} // namespace

void AttachWaveDevices(RecorderEngine& engine, WaveDevices& devices, HWND window) {
    devices.window = window;
    devices.input = nullptr;
    devices.output = nullptr;
    RecorderDevice device = {};
    device.context = &devices;
    device.maxFormatSize = MaxFormatSize;
    device.describeFormat = DescribeFormat;
    device.inputDeviceCount = InputDeviceCount;
    device.open = Open;
    device.prepare = Prepare;
    device.unprepare = Unprepare;
    device.addInput = AddInput;
    device.startInput = StartInput;
    device.writeOutput = WriteOutput;
    device.reset = Reset;
    device.close = Close;
    device.position = Position;
    device.setTimer = StartTimer;
    device.killTimer = StopTimer;
    device.redraw = Redraw;
    device.postStopCommand = PostStopCommand;
    device.report = Report;
    engine.device = device;
    engine.files = StdioRecorderFiles(&devices.tempFile);
}

int HeaderIndex(const WaveDevices& devices, LPARAM header) {
    const auto* pointer = reinterpret_cast<const WAVEHDR*>(header);
    for (int i = 0; i < kRecorderBufferCount; ++i) {
        if (pointer == &devices.headers[i]) {
            return i;
        }
    }
    return -1;
}
