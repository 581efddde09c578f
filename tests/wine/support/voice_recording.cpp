#include "support/voice_recording.h"

#include "resources/resource_ids.h"
#include "support/harness.h"

bool TestSoundDeviceRunning() {
    return !Environment("PULSE_SERVER").empty() && !Environment("KESTRO_TEST_MICROPHONE").empty();
}

void SelectVoiceEncoder(const std::string& programFolder, int audioSelection, int mp3Quality) {
    WriteWholeFile(programFolder + "plugin.ini",
                   "VERSION=10\nAUDIO_SELECTION=" + std::to_string(audioSelection) +
                       "\nMP3_QUALITY=" + std::to_string(mp3Quality) +
                       "\nVIDEO_SELECTION=0\nREALVIDEO_SELECTION=1\n");
}

bool RunInRecorder(HWND mainWindow, const std::function<void(HWND)>& inside) {
    bool opened = false;
    WhenDialogAppears([&](HWND dialog) {
        opened = true;
        inside(dialog);
    });
    SendMessageA(mainWindow, WM_COMMAND, IDM_VOICE_MESSAGE, 0);
    ForgetDialogAction();
    PumpMessages();
    return opened;
}

UnixCommand FeedMicrophone(const std::string& folder, const std::string& rawPath) {
    return UnixCommand(folder, "pacat --raw --format=u8 --rate=8000 --channels=1 -d " +
                                   Environment("KESTRO_TEST_MICROPHONE") + " " + Quoted(rawPath));
}

bool CopyTestProgram(const char* name, const std::string& folder, const char* as) {
    const std::string source = TestProgramFolder() + name;
    // kto2mp3.exe needs the LAME DLL beside it, as in the program folder.
    if (lstrcmpiA(name, "kto2mp3.exe") == 0 &&
        !CopyFileA((TestProgramFolder() + kLameDll).c_str(), (folder + kLameDll).c_str(), FALSE)) {
        return false;
    }
    return CopyFileA(source.c_str(), (folder + (as ? as : name)).c_str(), FALSE) != 0;
}

std::string SpeechFolder() {
    const std::string folder = Environment("KESTRO_SPEECH");
    return folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
}
