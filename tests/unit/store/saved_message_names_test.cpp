// Saved message names: the folder and date texts of a save time, the ".kto" file name, and the
// attachment copies' paths.
#include "store/saved_message_names.h"

#include "mail/outgoing_message.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

TEST(SavedMessageNames, FolderAndDateFollowTheClock) {
    const SaveTime justAfterMidnight = {2026, 12, 6, 0, 17, 56};
    EXPECT_EQ(MessageFolderName(justAfterMidnight), "Dec062026-1217AM-56");
    EXPECT_EQ(SaveDateText(justAfterMidnight), "Dec 06 2026  12:17 AM");

    const SaveTime noon = {2027, 1, 2, 12, 0, 0};
    EXPECT_EQ(MessageFolderName(noon), "Jan022027-1200PM-00");
    EXPECT_EQ(SaveDateText(noon), "Jan 02 2027  12:00 PM");

    const SaveTime evening = {2027, 5, 31, 23, 9, 5};
    EXPECT_EQ(MessageFolderName(evening), "May312027-1109PM-05");
    EXPECT_EQ(SaveDateText(evening), "May 31 2027  11:09 PM");

    EXPECT_EQ(SaveFolderPath("C:\\Program Files\\Kestro\\"), "C:\\Program Files\\Kestro\\save");
    EXPECT_EQ(MessageFolderPath("C:\\Kestro\\", justAfterMidnight),
              "C:\\Kestro\\save\\Dec062026-1217AM-56");
}

TEST(SavedMessageNames, TimesOutOfRangeGiveNoNames) {
    const SaveTime bad[] = {{2026, 0, 6, 0, 0, 0},  {2026, 13, 6, 0, 0, 0}, {2026, 1, 0, 0, 0, 0},
                            {2026, 1, 32, 0, 0, 0}, {2026, 1, 1, 24, 0, 0}, {2026, 1, 1, -1, 0, 0},
                            {2026, 1, 1, 0, 60, 0}, {2026, 1, 1, 0, 0, 60}, {10000, 1, 1, 0, 0, 0}};
    for (const SaveTime& time : bad) {
        EXPECT_EQ(MessageFolderName(time), "");
        EXPECT_EQ(SaveDateText(time), "");
        EXPECT_EQ(MessageFolderPath("C:\\", time), "");
    }
}

TEST(SavedMessageNames, FileNameDropsTheCharactersANameCannotHold) {
    EXPECT_EQ(MessageFileName("ann@example.com", "Re: lunch?"), "ann@example.com-Re lunch.kto");
    EXPECT_EQ(MessageFileName("", "Re: lunch?"), "Re lunch.kto");
    EXPECT_EQ(MessageFileName(nullptr, "Re: lunch?"), "Re lunch.kto");
    EXPECT_EQ(MessageFileName("a@b.cd", "\\/:*?\"<>|x\ty\x01"), "a@b.cd-xy.kto");
    EXPECT_EQ(MessageFileName("a@b.cd", "???"), "a@b.cd-.kto");
}

TEST(SavedMessageNames, FileNameTakesFiftyBytesOfEachPartBeforeFiltering) {
    const std::string address = std::string(60, 'a') + "@example.com";
    const std::string subject = std::string(49, 's') + "::tail";
    EXPECT_EQ(MessageFileName(address.c_str(), subject.c_str()),
              std::string(50, 'a') + "-" + std::string(49, 's') + ".kto");
    // Bytes of 0x80 and above are kept as they are.
    EXPECT_EQ(MessageFileName("", "Gr\xfc\xdf"), "Gr\xfc\xdf.kto");
}

TEST(SavedMessageNames, EmptyOrDeviceNamesStillGiveALoadableFile) {
    EXPECT_EQ(MessageFileName("", ""), "No Subject.kto");
    EXPECT_EQ(MessageFileName("", "*?:|"), "No Subject.kto");
    EXPECT_EQ(MessageFileName("", "CON"), "_CON.kto");
    EXPECT_EQ(MessageFileName("", "con.txt"), "_con.txt.kto");
    EXPECT_EQ(MessageFileName("", "Lpt9"), "_Lpt9.kto");
    EXPECT_EQ(MessageFileName("", "nul "), "_nul .kto");
    EXPECT_EQ(MessageFileName("", "a:u:x"), "_aux.kto");
    EXPECT_EQ(MessageFileName("", "CONSOLE"), "CONSOLE.kto");
    EXPECT_EQ(MessageFileName("", "COM10"), "COM10.kto");

    const char* devices[] = {"CON", "prn", "Aux", "nUL", "com1", "COM5", "COM9", "lpt1", "LPT4"};
    for (const char* device : devices) {
        EXPECT_TRUE(IsReservedDeviceName(device)) << device;
        EXPECT_TRUE(IsReservedDeviceName((std::string(device) + ".kto").c_str())) << device;
        EXPECT_TRUE(IsReservedDeviceName((std::string(device) + "  .a.b").c_str())) << device;
        const std::string name = MessageFileName("", device);
        EXPECT_FALSE(IsReservedDeviceName(name.c_str())) << name;
        EXPECT_EQ(name.substr(name.size() - 4), ".kto");
    }
    EXPECT_TRUE(IsReservedDeviceName("COM\xb9.kto"));
    const char* ordinary[] = {"", "COM0", "LPT0", "COM", "CONX", "XCON", "AUX1", "a@b.c-CON.kto"};
    for (const char* name : ordinary) {
        EXPECT_FALSE(IsReservedDeviceName(name)) << name;
    }
}

TEST(SavedMessageNames, AttachmentCopiesKeepTheirNamesWithoutOverwritingEachOther) {
    auto message = std::make_unique<OutgoingMessage>();
    const char* paths[] = {"c:\\voice\\voice.mp3", "d:\\old\\VOICE.MP3", "c:\\x\\voice.mp3",
                           "c:\\docs\\readme",     "c:\\more\\readme",   "plain.txt",
                           "c:\\dir/unix.bmp"};
    for (const char* path : paths) {
        ASSERT_TRUE(AddOutgoingAttachment(*message, path, 1));
    }
    const std::vector<std::string> copies = AttachmentCopyPaths("C:\\K\\save\\F", *message);
    const std::vector<std::string> expected = {
        "C:\\K\\save\\F\\voice.mp3", "C:\\K\\save\\F\\VOICE(2).MP3", "C:\\K\\save\\F\\voice(3).mp3",
        "C:\\K\\save\\F\\readme",    "C:\\K\\save\\F\\readme(2)",    "C:\\K\\save\\F\\plain.txt",
        "C:\\K\\save\\F\\unix.bmp"};
    EXPECT_EQ(copies, expected);
}

} // namespace
