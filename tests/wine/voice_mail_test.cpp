// A voice mail end to end: a spoken phrase fed into the test microphone is recorded twice through
// the real recorder window, attached once as GSM 6.10 and once as MP3 (by the real kto2mp3.exe
// through its runner), and sent with Kestro's own SMTP client to the local server. The two
// attachments taken from the received message must decode from base64 to the very files that
// were attached. They are left in the speech folder as mail-gsm.wav and mail-mp3.mp3, where
// scripts/check-speech.py decodes them on the host (sox, mpg123) and looks for the phrase
// (mail-phrase-8k-8bit.wav) in them by its loudness envelope.
//
// Three local peers are needed; scripts/test.sh starts them. By hand:
//   source scripts/sound-device.sh && kestro_start_sound_device
//   scripts/make-speech-fixtures.sh /tmp/speech && export KESTRO_SPEECH='Z:\tmp\speech'
//   /usr/bin/python3 scripts/smtp-sink.py 2525 /tmp/kestro-sink &
//   export KESTRO_SMTP_PORT=2525 KESTRO_SMTP_SINK='Z:\tmp\kestro-sink'
// then, in the build's bin folder, run the test and check what it left:
//   ../../../scripts/wine-run.sh kestro_wine_tests.exe --gtest_filter='VoiceMail.*'
//   /usr/bin/python3 scripts/check-speech.py /tmp/speech
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "../unit/support/mail_decoding.h"
#include "../unit/support/test_bytes.h"
#include "../unit/mp3conv/mp3_frames.h"
#include "app/win/app_state.h"
#include "compose/win/attachments.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/send_fixture.h"
#include "support/voice_recording.h"

namespace {

constexpr int kPhraseRate = 8000; // the microphone runs at 8000 Hz, 8-bit mono

uint32_t Read32(const std::string& bytes, size_t at) {
    return ReadLittleEndian32(reinterpret_cast<const unsigned char*>(bytes.data() + at));
}

// The bytes of a WAV file's data chunk; empty when there is none.
std::string DataChunk(const std::string& wave) {
    for (size_t at = 12; at + 8 <= wave.size();) {
        const uint32_t size = Read32(wave, at + 4);
        if (wave.compare(at, 4, "data") == 0) {
            return wave.substr(at + 8, size);
        }
        at += 8 + size + (size & 1);
    }
    return "";
}

// A main window that sends to the local server, with the test microphone.
class VoiceMail : public Sending {
  protected:
    void SetUp() override {
        if (!TestSoundDeviceRunning() || SinkFolder().empty() || SinkPort() <= 0 ||
            SpeechFolder().empty()) {
            GTEST_SKIP() << "needs the test sound device, the SMTP server and the spoken "
                            "recordings: see the comment at the top of voice_mail_test.cpp";
        }
        Sending::SetUp();
    }

    // Records one take of the phrase (raw 8-bit sound) and attaches it under the name the
    // recorder suggests, which must be `expectedName`.
    void RecordAndAttach(const std::string& raw, const std::string& expectedName) {
        ASSERT_TRUE(RunInRecorder(window_, [&](HWND recorder) {
            EXPECT_EQ(TextOf(GetDlgItem(recorder, IDC_VOICE_FILE_NAME)), expectedName);
            Command(recorder, IDC_RECORD_KEY);
            EXPECT_EQ(TextOf(recorder), "Recording...");
            // Wine's capture stream delivers its first sound up to about two seconds late: the
            // phrase starts after that.
            PumpMessagesFor(2000);
            UnixCommand feed = FeedMicrophone(folder_, raw);
            EXPECT_EQ(feed.Wait(10000), 0);
            PumpMessagesFor(700);
            Command(recorder, IDC_STOP_KEY);
            PumpMessagesFor(300);
            Command(recorder, IDOK);
        }));
    }

    // Checks the attachment part of `name`: its headers exactly, its base64 lines, and that it
    // decodes to the attached file. Leaves the decoded bytes in the speech folder as `keepAs`.
    void CheckReceivedAttachment(const std::string& data, const std::string& name,
                                 const std::string& contentType, const std::string& keepAs) {
        const std::string headers = "\r\n--" + kMain + "\r\nContent-Type: " + contentType +
                                    "; name=\"" + name +
                                    "\"\r\nContent-Transfer-Encoding: base64\r\n"
                                    "Content-Disposition: attachment;\r\n\tfilename=\"" +
                                    name + "\"\r\n\r\n";
        EXPECT_NE(data.find(headers), std::string::npos) << name;
        const std::string attached = ReadWholeFile(folder_ + name);
        EXPECT_GT(attached.size(), 1000u) << name;
        const std::string text = CheckAttachment(data, name, attached);
        WriteWholeFile(SpeechFolder() + keepAs, DecodeBase64ForTest(text));
    }
};

TEST_F(VoiceMail, TwoRecordedTakesGoOutAsGsmAndMp3AndArriveAsTheFilesAttached) {
    for (const char* old : {"mail-gsm.wav", "mail-mp3.mp3"}) {
        DeleteFileA((SpeechFolder() + old).c_str());
    }
    const std::string phrase = DataChunk(ReadWholeFile(SpeechFolder() + "mail-phrase-8k-8bit.wav"));
    ASSERT_GT(phrase.size(), 2u * kPhraseRate) << "about three seconds of speech";
    ASSERT_LT(phrase.size(), 4u * kPhraseRate);
    const std::string raw = folder_ + "phrase.u8";
    WriteWholeFile(raw, phrase);

    // The first take as GSM 6.10, compressed in the program.
    SelectVoiceEncoder(folder_, 0);
    RecordAndAttach(raw, "voicemsg.wav");
    ASSERT_EQ(AttachmentCount(), 1);
    const std::string gsm = ReadWholeFile(folder_ + "voicemsg.wav");
    ASSERT_GT(gsm.size(), 60u);
    EXPECT_EQ(gsm.substr(0, 4), "RIFF");
    EXPECT_EQ(gsm.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(static_cast<unsigned char>(gsm[20]), 49) << "GSM 6.10";

    // The second take as MP3 at 16 kHz, by kto2mp3.exe from the program folder.
    SelectVoiceEncoder(folder_, 1, 0);
    ASSERT_TRUE(CopyTestProgram("kto2mp3.exe", folder_));
    RecordAndAttach(raw, "voicem01.mp3");
    ASSERT_EQ(AttachmentCount(), 2);
    std::vector<Mp3Frame> frames;
    ASSERT_TRUE(ReadMp3Frames(ReadWholeFile(folder_ + "voicem01.mp3"), frames));
    ASSERT_GT(frames.size(), 2u * 16000 / 576) << "at least two seconds";
    EXPECT_EQ(frames[0].sampleRate, 16000);
    EXPECT_EQ(frames[0].kbitPerSecond, 16);
    EXPECT_TRUE(frames[0].mono);
    EXPECT_TRUE(MessageBoxes::Calls().empty());

    SetWindowTextA(Edit(IDC_TO_EDIT), "bob@example.net");
    SetWindowTextA(Edit(IDC_SUBJECT_EDIT), "Two voice messages");
    SetWindowTextA(composeWindows.bodyEditor, "Bob, listen to these.");
    const Delivered received = Send([](HWND sent) { SendMessageA(sent, WM_COMMAND, IDOK, 0); });
    for (const MessageBoxCall& call : MessageBoxes::Calls()) {
        ADD_FAILURE() << "message box " << call.caption << ": " << call.text;
    }
    ASSERT_FALSE(received.data.empty()) << "nothing arrived";
    EXPECT_EQ(received.envelope, std::vector<std::string>(
                                     {"MAIL FROM:<ann@example.org>", "RCPT TO:<bob@example.net>"}));
    EXPECT_NE(received.data.find("\r\nSubject: Two voice messages\r\n"), std::string::npos);
    EXPECT_NE(received.data.find("\r\nTo: <bob@example.net>\r\n"), std::string::npos);
    EXPECT_LT(received.data.find("filename=\"voicemsg.wav\""),
              received.data.find("filename=\"voicem01.mp3\""))
        << "in the order they were attached";
    CheckReceivedAttachment(received.data, "voicemsg.wav", "audio/wav", "mail-gsm.wav");
    CheckReceivedAttachment(received.data, "voicem01.mp3", "audio/mpeg", "mail-mp3.mp3");
}

} // namespace
