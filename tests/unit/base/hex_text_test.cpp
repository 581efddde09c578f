// The protected password's form in Kestro.ini: bytes as hexadecimal digits and back.
#include <gtest/gtest.h>

#include <string>

#include "base/hex_text.h"

namespace {

TEST(HexText, EveryByteGoesThereAndBack) {
    unsigned char bytes[256];
    for (int i = 0; i < 256; ++i) {
        bytes[i] = static_cast<unsigned char>(i);
    }
    char text[513];
    ASSERT_TRUE(EncodeHexText(bytes, sizeof bytes, text, sizeof text));
    EXPECT_EQ(std::string(text, 6), "000102");
    EXPECT_EQ(std::string(text + 496), "F8F9FAFBFCFDFEFF");
    unsigned char back[256] = {};
    size_t length = 0;
    ASSERT_TRUE(DecodeHexText(text, back, sizeof back, &length));
    EXPECT_EQ(length, 256u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(back), 256),
              std::string(reinterpret_cast<char*>(bytes), 256));
    ASSERT_TRUE(DecodeHexText("0aFf", back, sizeof back, &length)) << "either case";
    EXPECT_EQ(length, 2u);
    EXPECT_EQ(back[0], 0x0A);
    EXPECT_EQ(back[1], 0xFF);
}

TEST(HexText, WhatIsNotWholeBytesOfDigitsOrDoesNotFitIsRefused) {
    unsigned char bytes[2];
    size_t length = 0;
    for (const char* bad : {"0", "ABC", "0G", "G0", "01 2", "0x01", "-1"}) {
        EXPECT_FALSE(DecodeHexText(bad, bytes, sizeof bytes, &length)) << bad;
    }
    EXPECT_FALSE(DecodeHexText("010203", bytes, sizeof bytes, &length)) << "three bytes into two";
    EXPECT_TRUE(DecodeHexText("", bytes, sizeof bytes, &length));
    EXPECT_EQ(length, 0u);
    char text[8] = "xxxxxxx";
    EXPECT_FALSE(EncodeHexText(reinterpret_cast<const unsigned char*>("abc"), 3, text, 6));
    EXPECT_STREQ(text, "");
    EXPECT_TRUE(EncodeHexText(reinterpret_cast<const unsigned char*>("ab"), 2, text, 5));
    EXPECT_STREQ(text, "6162");
}

} // namespace
