#include "plugins/win/encoder_runner.h"

#include "audio/win/readable_file.h"
#include "base/win/message_box.h"
#include "base/win/program_directory.h"
#include "base/win/scoped_handles.h"
#include "plugins/encoder_launch.h"
#include "plugins/win/plugin_state.h"
#include "plugins/win/plugin_windows.h"

namespace {

constexpr UINT kPollMs = 200;
constexpr UINT kKilledExitCode = STILL_ACTIVE; // 259

struct EncoderRunner {
    EncoderRunnerKind kind;
    EncoderLaunch launch;
    STARTUPINFOA startup;
    ScopedKernelHandle process; // of the started encoder
    ScopedKernelHandle thread;
    int result;
};

EncoderRunner* RunnerOf(HWND dialog) {
    return reinterpret_cast<EncoderRunner*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

int QualityOf(EncoderRunnerKind kind) {
    return kind == EncoderRunnerKind::Mp3         ? pluginSettings.mp3Quality
           : kind == EncoderRunnerKind::RealVideo ? pluginSettings.realVideoSelection
                                                  : 0;
}

bool ProcessRunning(const EncoderRunner& runner) {
    DWORD code = 0;
    return runner.process && GetExitCodeProcess(runner.process.get(), &code) &&
           code == STILL_ACTIVE;
}

void Refuse(HWND dialog, const char* text, const char* caption) {
    ShowMessageBox(dialog, text, caption, MB_OK);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

void Start(HWND dialog, EncoderRunner& runner) {
    runner.result = 0;
    runner.startup = STARTUPINFOA{};
    runner.startup.cb = sizeof runner.startup;
    runner.startup.lpTitle = const_cast<char*>(runner.launch.startupTitle);
    runner.startup.wShowWindow = SW_MINIMIZE;

    char text[kEncoderMessageLength];
    const char* caption = nullptr;
    if (!FileIsReadable(runner.launch.programPath)) {
        EncoderMissingMessage(runner.kind, runner.launch, text, sizeof text, &caption);
        Refuse(dialog, text, caption);
        return;
    }
    // The encoder finds its input and writes its output by name in the program directory.
    PROCESS_INFORMATION started = {};
    if (!CompleteEncoderLaunch(runner.kind, QualityOf(runner.kind), encoderOutputName,
                               sizeof encoderOutputName, customEncoder, runner.launch) ||
        !CreateProcessA(runner.launch.programPath, runner.launch.commandLine, nullptr, nullptr,
                        TRUE, HIGH_PRIORITY_CLASS, nullptr, programDirectory, &runner.startup,
                        &started)) {
        EncoderNotStartedMessage(runner.kind, runner.launch, text, sizeof text, &caption);
        Refuse(dialog, text, caption);
        return;
    }
    runner.process.reset(started.hProcess);
    runner.thread.reset(started.hThread);
    SetTimer(dialog, runner.launch.timerId, kPollMs, nullptr);
}

INT_PTR CALLBACK EncoderRunnerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        Start(dialog, *reinterpret_cast<EncoderRunner*>(lParam));
        return TRUE;
    case WM_TIMER: {
        EncoderRunner& runner = *RunnerOf(dialog);
        if (wParam == runner.launch.timerId && !ProcessRunning(runner)) {
            KillTimer(dialog, runner.launch.timerId);
            runner.result = 1;
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }
        return TRUE;
    }
    case WM_COMMAND: {
        EncoderRunner& runner = *RunnerOf(dialog);
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, runner.result);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            KillTimer(dialog, runner.launch.timerId);
            if (ProcessRunning(runner)) {
                TerminateProcess(runner.process.get(), kKilledExitCode);
            }
            runner.result = 0;
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}

int RunEncoder(HWND owner, EncoderRunnerKind kind, const char* templateName) {
    EncoderRunner runner = {};
    runner.kind = kind;
    if (!DescribeEncoderLaunch(kind, programDirectory, customEncoder, runner.launch)) {
        return 0;
    }
    INT_PTR result = DialogBoxParamA(pluginWindows.instance, templateName, owner, EncoderRunnerProc,
                                     reinterpret_cast<LPARAM>(&runner));
    return result == 1 ? 1 : 0;
}

} // namespace

int RunMp3Encoder(HWND owner) {
    return RunEncoder(owner, EncoderRunnerKind::Mp3, "MP3_COMPRESSION_BOX");
}

int RunCustomEncoder(HWND owner) {
    return RunEncoder(owner, EncoderRunnerKind::Custom, "CUSTOM_PLUGIN_BOX");
}

int RunRealVideoEncoder(HWND owner) {
    return RunEncoder(owner, EncoderRunnerKind::RealVideo, "REALVIDEO_PLUGIN_BOX");
}

int RunCodecInstaller(HWND owner) {
    return RunEncoder(owner, EncoderRunnerKind::CodecInstaller, "INSTALL_CODEC_WINDOW");
}
