// The "Voice && Video Encoders" group of the Program Settings dialog and the custom encoder
// configuration behind Configure: what they show, store and refuse.
#include <windows.h>

#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "plugins/win/custom_config_dialog.h"
#include "plugins/win/plugin_state.h"
#include "resources/resource_ids.h"
#include "support/harness.h"

namespace {

using EncoderSettings = MainWindowTest;

TEST_F(EncoderSettings, TheGroupShowsPluginIniAndStoresItsFiveLines) {
    WriteWholeFile(folder_ + "plugin.ini", "VERSION=10\nAUDIO_SELECTION=2\nMP3_QUALITY=1\n"
                                           "VIDEO_SELECTION=0\nREALVIDEO_SELECTION=3\n");
    WhenDialogAppears([&](HWND program) {
        EXPECT_TRUE(Checked(program, IDC_PS_AUDIO_NONE));
        EXPECT_FALSE(Checked(program, IDC_PS_AUDIO_GSM));
        EXPECT_EQ(ComboEntries(GetDlgItem(program, IDC_PS_MP3_QUALITY)),
                  (std::vector<std::string>{"16 kHz", "8 kHz"}));
        EXPECT_EQ(ComboSelection(GetDlgItem(program, IDC_PS_MP3_QUALITY)), "8 kHz");
        EXPECT_TRUE(Checked(program, IDC_PS_VIDEO_WINDOWS));
        EXPECT_EQ(ComboEntries(GetDlgItem(program, IDC_PS_REAL_QUALITY)),
                  (std::vector<std::string>{"Good", "Normal", "High", "Superb"}));
        EXPECT_EQ(ComboSelection(GetDlgItem(program, IDC_PS_REAL_QUALITY)), "Superb");

        CheckRadioButton(program, IDC_PS_AUDIO_GSM, IDC_PS_AUDIO_CUSTOM, IDC_PS_AUDIO_CUSTOM);
        SendDlgItemMessageA(program, IDC_PS_MP3_QUALITY, CB_SETCURSEL, 0, 0);
        SendDlgItemMessageA(program, IDC_PS_REAL_QUALITY, CB_SETCURSEL, 1, 0);
        SendMessageA(program, WM_COMMAND, IDOK, 0);
    });
    Command(window_, IDM_PROGRAM_SETTINGS);
    EXPECT_EQ(ReadWholeFile(folder_ + "plugin.ini"),
              "VERSION=10\nAUDIO_SELECTION=3\nMP3_QUALITY=0\nVIDEO_SELECTION=0\n"
              "REALVIDEO_SELECTION=1\n");
    EXPECT_EQ(pluginSettings.audioSelection, 3);
    EXPECT_EQ(pluginSettings.samplesPerSec, 44100u) << "the custom encoder's capture format";
    EXPECT_TRUE(MessageBoxes::Calls().empty());

    // Cancel stores nothing.
    WhenDialogAppears([&](HWND program) {
        EXPECT_TRUE(Checked(program, IDC_PS_AUDIO_CUSTOM));
        CheckRadioButton(program, IDC_PS_AUDIO_GSM, IDC_PS_AUDIO_CUSTOM, IDC_PS_AUDIO_GSM);
        SendMessageA(program, WM_COMMAND, IDCANCEL, 0);
    });
    Command(window_, IDM_PROGRAM_SETTINGS);
    EXPECT_EQ(ReadWholeFile(folder_ + "plugin.ini").substr(0, 29),
              "VERSION=10\nAUDIO_SELECTION=3\n");
}

TEST_F(EncoderSettings, RealVideoWithoutItsEncoderIsRefusedAndTheDialogStaysOpen) {
    const std::string before = "VERSION=10\nAUDIO_SELECTION=0\nMP3_QUALITY=0\nVIDEO_SELECTION=0\n"
                               "REALVIDEO_SELECTION=1\n";
    WriteWholeFile(folder_ + "plugin.ini", before);
    bool stayedOpen = false;
    WhenDialogAppears([&](HWND program) {
        CheckRadioButton(program, IDC_PS_VIDEO_WINDOWS, IDC_PS_VIDEO_REAL, IDC_PS_VIDEO_REAL);
        MessageBoxes::Plan(IDNO);
        SendMessageA(program, WM_COMMAND, IDOK, 0);
        stayedOpen = IsWindow(program) && Checked(program, IDC_PS_VIDEO_WINDOWS) &&
                     !Checked(program, IDC_PS_VIDEO_REAL);

        // With kto2rm.exe in the program folder the choice is taken.
        WriteWholeFile(folder_ + "kto2rm.exe", "MZ");
        CheckRadioButton(program, IDC_PS_VIDEO_WINDOWS, IDC_PS_VIDEO_REAL, IDC_PS_VIDEO_REAL);
        SendMessageA(program, WM_COMMAND, IDOK, 0);
    });
    Command(window_, IDM_PROGRAM_SETTINGS);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "REAL Video encoder not found!");
    EXPECT_EQ(MessageBoxes::Calls()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(ReadWholeFile(folder_ + "plugin.ini"),
              "VERSION=10\nAUDIO_SELECTION=0\nMP3_QUALITY=0\nVIDEO_SELECTION=1\n"
              "REALVIDEO_SELECTION=1\n");
}

TEST_F(EncoderSettings, ConfigureKeepsBothCustomLinesAndTheSlot) {
    WriteWholeFile(folder_ + "plugin.ini", "VERSION=10\nAUDIO_SELECTION=3\nMP3_QUALITY=0\n"
                                           "VIDEO_SELECTION=0\nREALVIDEO_SELECTION=0\n");
    WriteWholeFile(folder_ + "enc.exe", "MZ");
    std::string configTitle;
    WhenDialogAppears([&](HWND program) {
        WhenDialogAppears([&](HWND config) {
            configTitle = TextOf(config);
            EXPECT_TRUE(Checked(config, IDC_CC_SLOT1));
            EXPECT_EQ(TextOf(GetDlgItem(config, IDC_CC_LINE1)), "");
            SendMessageA(config, WM_COMMAND, IDC_CC_HELP, 0);
            SetDlgItemTextA(config, IDC_CC_LINE1, "a.exe #i #u #x=ogg");
            SetDlgItemTextA(config, IDC_CC_LINE2, "enc.exe -in #i -out #u #x=.gsm");
            CheckRadioButton(config, IDC_CC_SLOT1, IDC_CC_SLOT2, IDC_CC_SLOT2);
            SendMessageA(config, WM_COMMAND, IDOK, 0);
        });
        SendMessageA(program, WM_COMMAND, IDC_PS_CONFIGURE, 0);
        SendMessageA(program, WM_COMMAND, IDCANCEL, 0);
    });
    Command(window_, IDM_PROGRAM_SETTINGS);
    EXPECT_EQ(configTitle, "Custom encoder configuration");
    EXPECT_EQ(ReadWholeFile(folder_ + "custom.ini"),
              "CUSTOM_SLOT=1\nCUSTOM1=a.exe #i #u #x=ogg\nCUSTOM2=enc.exe -in #i -out #u "
              "#x=.gsm\n");
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "Custom encoder help");
    // The selected line is prepared for the custom runner.
    EXPECT_STREQ(customEncoder.customProgramName, "enc.exe");
    EXPECT_STREQ(customEncoder.customExtension, "gsm");

    // Opened again, the dialog shows what was stored; Cancel keeps it.
    WhenDialogAppears([&](HWND program) {
        WhenDialogAppears([&](HWND config) {
            EXPECT_TRUE(Checked(config, IDC_CC_SLOT2));
            EXPECT_EQ(TextOf(GetDlgItem(config, IDC_CC_LINE2)), "enc.exe -in #i -out #u #x=.gsm");
            SetDlgItemTextA(config, IDC_CC_LINE1, "changed");
            SendMessageA(config, WM_COMMAND, IDCANCEL, 0);
        });
        SendMessageA(program, WM_COMMAND, IDC_PS_CONFIGURE, 0);
        SendMessageA(program, WM_COMMAND, IDCANCEL, 0);
    });
    Command(window_, IDM_PROGRAM_SETTINGS);
    EXPECT_EQ(ReadWholeFile(folder_ + "custom.ini").substr(0, 14), "CUSTOM_SLOT=1\n");
    EXPECT_EQ(ReadWholeFile(folder_ + "custom.ini").find("changed"), std::string::npos);
}

} // namespace
