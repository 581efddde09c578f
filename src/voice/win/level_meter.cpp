#include "voice/win/level_meter.h"

#include <cstring>

#include "base/win/scoped_handles.h"
#include "resources/resource_ids.h"
#include "voice/recorder_display.h"
#include "voice/recorder_layout.h"

// Every query names the mixer by the handle mixerOpen gave (MIXER_OBJECTF_HMIXER): without the
// flag the value would be taken for a mixer device number.

namespace {

constexpr UINT kMeterIntervalMs = 100;

bool IsMicrophone(const MIXERLINEA& line) {
    return line.dwComponentType == MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE ||
           std::strncmp(line.szShortName, "Mic", 3) == 0 ||
           std::strncmp(line.szShortName, "mic", 3) == 0;
}

// The peak meter's value, or false when the line has none or it cannot be read.
bool ReadPeak(const LevelMeter& meter, LONG* value) {
    MIXERCONTROLA control = {};
    MIXERLINECONTROLSA controls = {};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = meter.sourceLineId;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_PEAKMETER;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    if (mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(meter.inputMixer.get()), &controls,
                              MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) !=
        MMSYSERR_NOERROR) {
        return false;
    }
    MIXERCONTROLDETAILS_SIGNED signedValue = {};
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = control.dwControlID;
    details.cChannels = 1;
    details.cbDetails = sizeof signedValue;
    details.paDetails = &signedValue;
    if (mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(meter.inputMixer.get()), &details,
                                MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR) {
        return false;
    }
    *value = signedValue.lValue;
    return true;
}

void FillBar(HDC dc, int left, int right, const RecorderBar& bar, COLORREF colour) {
    if (right <= left) {
        return;
    }
    RECT area = {left, bar.top, right, bar.bottom};
    const ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &area, brush.get());
}

} // namespace

void OpenLevelMeter(LevelMeter& meter, HWND window) {
    meter = LevelMeter{};
    HMIXER mixer = nullptr;
    if (mixerOpen(&mixer, 0, reinterpret_cast<DWORD_PTR>(window), 0, CALLBACK_WINDOW) ==
        MMSYSERR_NOERROR) {
        meter.mixer.reset(mixer);
    }
    HMIXER inputMixer = nullptr;
    if (mixerOpen(&inputMixer, 0, 0, 0, MIXER_OBJECTF_WAVEIN) != MMSYSERR_NOERROR) {
        return;
    }
    meter.inputMixer.reset(inputMixer);

    MIXERLINEA destination = {};
    destination.cbStruct = sizeof destination;
    destination.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(inputMixer), &destination,
                          MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
        MMSYSERR_NOERROR) {
        return;
    }
    for (DWORD source = 0; source < destination.cConnections; ++source) {
        MIXERLINEA line = {};
        line.cbStruct = sizeof line;
        line.dwDestination = destination.dwDestination;
        line.dwSource = source;
        if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(inputMixer), &line,
                              MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE) !=
            MMSYSERR_NOERROR) {
            continue;
        }
        if (IsMicrophone(line)) {
            meter.sourceLineId = line.dwLineID;
            meter.meterAvailable = 1;
            SetTimer(window, IDT_LEVEL_METER, kMeterIntervalMs, nullptr);
            return;
        }
    }
}

void ShowMicrophoneLevel(const LevelMeter& meter, HWND window) {
    LONG value = 0;
    if (!meter.meterAvailable || !ReadPeak(meter, &value)) {
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    const RecorderBar bar = RecorderBarArea(client.left, client.right);
    const int split = MeterFillEnd(bar, value);
    const WindowDc dc(window);
    FillBar(dc.get(), bar.left, split, bar, kDisplayGreen);
    FillBar(dc.get(), split, bar.right, bar, kDisplayRed);
}

void CloseLevelMeter(LevelMeter& meter, HWND window) {
    if (meter.meterAvailable) {
        KillTimer(window, IDT_LEVEL_METER);
    }
    meter = LevelMeter{}; // closes the mixers
}
