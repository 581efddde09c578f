// The third-party libraries the program relies on are linked and work: JPEG compression,
// reading a zip archive, and MP3 encoding.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <lame/lame.h>
#include <minizip/unzip.h>
#include <minizip/zip.h>

namespace {

std::string TempPath(const char* name) {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    return std::string(testing::TempDir()) + info->name() + "_" + name;
}

TEST(ThirdPartyLibraries, JpegCompressesAGradient) {
    const int width = 64, height = 48;
    std::vector<unsigned char> rgb(width * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &rgb[(y * width + x) * 3];
            p[0] = static_cast<unsigned char>(x * 4);
            p[1] = static_cast<unsigned char>(y * 5);
            p[2] = 128;
        }
    }
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 75, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = &rgb[cinfo.next_scanline * width * 3];
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);

    ASSERT_GT(outSize, 100u);
    EXPECT_EQ(out[0], 0xFF);
    EXPECT_EQ(out[1], 0xD8); // start of image
    EXPECT_EQ(out[outSize - 2], 0xFF);
    EXPECT_EQ(out[outSize - 1], 0xD9); // end of image
    free(out);
}

TEST(ThirdPartyLibraries, ZipArchiveIsReadBack) {
    std::string path = TempPath("banner.zip");
    const std::string content(5000, 'k');
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    zip_fileinfo info{};
    ASSERT_EQ(zipOpenNewFileInZip(zip, "frame1.bmp", &info, nullptr, 0, nullptr, 0, nullptr,
                                  Z_DEFLATED, Z_DEFAULT_COMPRESSION),
              ZIP_OK);
    ASSERT_EQ(zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size())),
              ZIP_OK);
    zipCloseFileInZip(zip);
    zipClose(zip, nullptr);

    unzFile unz = unzOpen(path.c_str());
    ASSERT_NE(unz, nullptr);
    ASSERT_EQ(unzGoToFirstFile(unz), UNZ_OK);
    char name[64];
    unz_file_info fileInfo;
    ASSERT_EQ(unzGetCurrentFileInfo(unz, &fileInfo, name, sizeof name, nullptr, 0, nullptr, 0),
              UNZ_OK);
    EXPECT_STREQ(name, "frame1.bmp");
    EXPECT_LT(fileInfo.compressed_size, fileInfo.uncompressed_size);
    ASSERT_EQ(unzOpenCurrentFile(unz), UNZ_OK);
    std::string readBack(content.size() + 10, '\0');
    int got = unzReadCurrentFile(unz, &readBack[0], static_cast<unsigned>(readBack.size()));
    ASSERT_EQ(got, static_cast<int>(content.size()));
    readBack.resize(got);
    EXPECT_EQ(readBack, content);
    unzCloseCurrentFile(unz);
    EXPECT_EQ(unzGoToNextFile(unz), UNZ_END_OF_LIST_OF_FILE);
    unzClose(unz);
    std::remove(path.c_str());
}

TEST(ThirdPartyLibraries, OneSecondOfToneEncodesToMp3AndDecodesBack) {
    const int rate = 16000;
    std::vector<short> pcm(rate);
    for (int i = 0; i < rate; ++i) {
        pcm[i] = static_cast<short>(8000 * std::sin(2 * 3.14159265 * 440 * i / rate));
    }
    lame_global_flags* lame = lame_init();
    ASSERT_NE(lame, nullptr);
    lame_set_num_channels(lame, 1);
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_mode(lame, MONO);
    lame_set_brate(lame, 16);
    ASSERT_EQ(lame_init_params(lame), 0);
    std::vector<unsigned char> mp3(rate * 2 + 7200);
    int n = lame_encode_buffer(lame, pcm.data(), pcm.data(), rate, mp3.data(),
                               static_cast<int>(mp3.size()));
    ASSERT_GE(n, 0);
    int tail = lame_encode_flush(lame, mp3.data() + n, static_cast<int>(mp3.size()) - n);
    ASSERT_GE(tail, 0);
    lame_close(lame);
    mp3.resize(n + tail);
    // 16 kbit/s for one second is about 2000 bytes.
    EXPECT_GT(mp3.size(), 1500u);
    EXPECT_LT(mp3.size(), 3000u);
    EXPECT_EQ(mp3[0], 0xFF);
    EXPECT_EQ(mp3[1] & 0xE0, 0xE0); // frame sync

    hip_t hip = hip_decode_init();
    ASSERT_NE(hip, nullptr);
    std::vector<short> left(rate * 2), right(rate * 2);
    size_t decoded = 0;
    for (size_t offset = 0; offset < mp3.size(); offset += 512) {
        size_t chunk = std::min<size_t>(512, mp3.size() - offset);
        int got = hip_decode(hip, mp3.data() + offset, chunk, left.data() + decoded,
                             right.data() + decoded);
        ASSERT_GE(got, 0);
        decoded += got;
        ASSERT_LT(decoded + 4608, left.size());
    }
    hip_decode_exit(hip);
    EXPECT_GT(decoded, static_cast<size_t>(rate * 9 / 10));
    // The tone survives: the decoded signal has energy near the original amplitude.
    double energy = 0;
    for (size_t i = rate / 4; i < decoded - rate / 4; ++i) {
        energy += static_cast<double>(left[i]) * left[i];
    }
    double rms = std::sqrt(energy / static_cast<double>(decoded - rate / 2));
    EXPECT_GT(rms, 8000 / std::sqrt(2.0) * 0.5);
}

} // namespace
