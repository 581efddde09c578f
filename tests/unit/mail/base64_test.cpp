#include "mail/base64.h"

#include "support/mail_decoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Encode(const std::string& data) {
    char out[kBase64BufferSize];
    uint32_t length = 12345;
    EXPECT_TRUE(EncodeBase64Block(reinterpret_cast<const unsigned char*>(data.data()),
                                  static_cast<uint32_t>(data.size()), out, sizeof out, &length));
    return std::string(out, length);
}

std::string Bytes(size_t count) {
    std::string data;
    for (size_t i = 0; i < count; ++i) {
        data += static_cast<char>((i * 7 + 3) & 0xFF);
    }
    return data;
}

TEST(Base64, ShortBlocksAndPadding) {
    EXPECT_EQ(Encode("abc"), "YWJj");
    EXPECT_EQ(Encode("ab"), "YWI=");
    EXPECT_EQ(Encode(""), "");
    EXPECT_EQ(Encode("hello world"), "aGVsbG8gd29ybGQ=");
    EXPECT_EQ(Encode(std::string("\xff\xfe\x00", 3)), "//4A");
    // 57 bytes: one full line with its CR LF, then a short last line without one.
    const std::string text = Encode(Bytes(57));
    EXPECT_EQ(text.size(), 78u);
    EXPECT_EQ(text.substr(72, 2), "\r\n");
    EXPECT_EQ(DecodeBase64ForTest(text), Bytes(57));
}

// Around the ends of lines: a last group that is padded can still fill its line, which then
// ends in CR LF like any full line.
TEST(Base64, LinesEndInCrLfExactlyWhenFull) {
    const struct {
        size_t bytes;
        size_t lines; // full lines, each 72 characters and CR LF
        size_t rest;  // characters of the last, shorter line
    } cases[] = {{52, 1, 0}, {53, 1, 0}, {54, 1, 0}, {55, 1, 4}, {107, 2, 0}, {110, 2, 4}};
    for (const auto& c : cases) {
        const std::string text = Encode(Bytes(c.bytes));
        ASSERT_EQ(text.size(), c.lines * 74 + c.rest) << c.bytes;
        for (size_t line = 0; line < c.lines; ++line) {
            EXPECT_EQ(text.substr(line * 74 + 72, 2), "\r\n") << c.bytes << " line " << line;
        }
        EXPECT_EQ(text.find('\r', c.lines * 74), std::string::npos) << c.bytes;
        EXPECT_EQ(DecodeBase64ForTest(text), Bytes(c.bytes)) << c.bytes;
    }
}

TEST(Base64, FullBlockIsNineteenLines) {
    const std::string text = Encode(Bytes(kBase64BlockSize));
    ASSERT_EQ(text.size(), 19u * 74u);
    for (size_t line = 0; line < 19; ++line) {
        EXPECT_EQ(text.substr(line * 74 + 72, 2), "\r\n") << line;
        EXPECT_EQ(text.substr(line * 74, 72).find_first_of("\r\n="), std::string::npos);
    }
    EXPECT_EQ(DecodeBase64ForTest(text), Bytes(kBase64BlockSize));
}

TEST(Base64, RefusesAnOutputThatDoesNotFit) {
    const std::string data = Bytes(60);
    std::string out(Base64EncodedLength(60), 'x'); // no room for the terminator
    uint32_t length = 7;
    EXPECT_FALSE(EncodeBase64Block(reinterpret_cast<const unsigned char*>(data.data()), 60, &out[0],
                                   out.size(), &length));
    EXPECT_EQ(length, 7u);
    EXPECT_EQ(out, std::string(out.size(), 'x'));
}

} // namespace
