#include "plugins/win/encoder_settings_group.h"

#include <cstdio>

#include "audio/win/mp3_codec.h"
#include "audio/win/readable_file.h"
#include "base/win/message_box.h"
#include "base/win/program_directory.h"
#include "plugins/encoder_command_line.h"
#include "plugins/win/plugin_state.h"
#include "plugins/win/plugin_windows.h"
#include "resources/resource_ids.h"

namespace {

void SelectByName(HWND dialog, int id, const char* name) {
    HWND box = GetDlgItem(dialog, id);
    LRESULT index = SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(name));
    SendMessageA(box, CB_SETCURSEL, index == CB_ERR ? 0 : index, 0);
}

int SelectionOf(HWND dialog, int id) {
    LRESULT index = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? 0 : static_cast<int>(index);
}

int CheckedAudioSelection(HWND dialog) {
    for (int id = IDC_PS_AUDIO_GSM; id <= IDC_PS_AUDIO_CUSTOM; ++id) {
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) {
            return id - IDC_PS_AUDIO_GSM;
        }
    }
    return kAudioGsm;
}

bool RealVideoEncoderPresent() {
    char path[kPathLength + 16];
    std::snprintf(path, sizeof path, "%s%s", programDirectory, kRealVideoEncoderProgram);
    return FileIsReadable(path);
}

} // namespace

void FillEncoderGroup(HWND dialog) {
    HWND mp3Quality = GetDlgItem(dialog, IDC_PS_MP3_QUALITY);
    for (const char* name : kMp3QualityNames) {
        SendMessageA(mp3Quality, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    HWND realQuality = GetDlgItem(dialog, IDC_PS_REAL_QUALITY);
    for (const char* name : kRealVideoQualityNames) {
        SendMessageA(realQuality, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    LoadPluginSettings();
    const int audio = pluginSettings.audioSelection;
    CheckRadioButton(dialog, IDC_PS_AUDIO_GSM, IDC_PS_AUDIO_CUSTOM,
                     IDC_PS_AUDIO_GSM + (audio >= kAudioGsm && audio <= kAudioCustom ? audio : 0));
    SelectByName(dialog, IDC_PS_MP3_QUALITY,
                 kMp3QualityNames[pluginSettings.mp3Quality == kMp3Quality16kHz ? 0 : 1]);
    // A video selection the file left out of range (a negative one) shows as the first choice.
    CheckRadioButton(dialog, IDC_PS_VIDEO_WINDOWS, IDC_PS_VIDEO_REAL,
                     pluginSettings.videoSelection == kVideoRealVideo ? IDC_PS_VIDEO_REAL
                                                                      : IDC_PS_VIDEO_WINDOWS);
    const int real = pluginSettings.realVideoSelection;
    SelectByName(dialog, IDC_PS_REAL_QUALITY,
                 kRealVideoQualityNames[real >= 0 && real <= 3 ? real : 0]);
}

int AcceptEncoderGroup(HWND dialog) {
    PluginSettings chosen = pluginSettings;
    chosen.audioSelection = CheckedAudioSelection(dialog);
    if (chosen.audioSelection == kAudioMp3 && Mp3CodecPresent() == 0) {
        ShowMessageBox(dialog, kMp3EncoderMissingText, kMp3EncoderMissingCaption,
                       MB_OK | MB_ICONEXCLAMATION);
        CheckRadioButton(dialog, IDC_PS_AUDIO_GSM, IDC_PS_AUDIO_CUSTOM, IDC_PS_AUDIO_GSM);
        return 0;
    }
    chosen.mp3Quality = SelectionOf(dialog, IDC_PS_MP3_QUALITY);
    chosen.videoSelection = IsDlgButtonChecked(dialog, IDC_PS_VIDEO_REAL) == BST_CHECKED
                                ? kVideoRealVideo
                                : kVideoWindowsCodecs;
    chosen.realVideoSelection = SelectionOf(dialog, IDC_PS_REAL_QUALITY);
    if (chosen.videoSelection == kVideoRealVideo && !RealVideoEncoderPresent()) {
        if (ShowMessageBox(dialog, kRealEncoderMissingText, kRealEncoderMissingCaption,
                           MB_YESNO | MB_ICONQUESTION) == IDYES) {
            PostMessageA(pluginWindows.mainWindow, WM_COMMAND, IDM_PLUGIN_DOWNLOAD, 0);
        }
        CheckRadioButton(dialog, IDC_PS_VIDEO_WINDOWS, IDC_PS_VIDEO_REAL, IDC_PS_VIDEO_WINDOWS);
        return 0;
    }
    ApplyCaptureFormat(chosen);
    pluginSettings = chosen;
    SavePluginSettings();
    return 1;
}
