// Reading back what the video code writes: JPEG images decoded by libjpeg, the markers that say
// how they were coded, and the peak signal-to-noise ratio between two RGB images.
#pragma once

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

struct DecodedJpeg {
    int width = 0;
    int height = 0;
    int components = 0;
    std::vector<unsigned char> rgb;
};

namespace jpeg_check_detail {
struct Errors {
    jpeg_error_mgr library;
    std::jmp_buf escape;
};
[[noreturn]] inline void Leave(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Errors*>(info->err)->escape, 1);
}
} // namespace jpeg_check_detail

// False when libjpeg cannot decode the bytes.
inline bool DecodeJpeg(const std::string& bytes, DecodedJpeg& out) {
    jpeg_decompress_struct info;
    jpeg_check_detail::Errors errors;
    info.err = jpeg_std_error(&errors.library);
    errors.library.error_exit = jpeg_check_detail::Leave;
    if (setjmp(errors.escape) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    out.components = info.num_components;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.rgb.assign(static_cast<size_t>(out.width) * out.height * 3, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.rgb.data() + static_cast<size_t>(info.output_scanline) * out.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// The markers of a JPEG file up to the start of the scan: what a decoder is told.
struct JpegMarkers {
    bool jfif = false;   // APP0 "JFIF\0" right after SOI
    int frameMarker = 0; // 0xC0 baseline, 0xC2 progressive, ...
    int width = 0;
    int height = 0;
    std::vector<int> sampling;   // per component, 0xHV
    int firstLuminanceQuant = 0; // the DC entry of quantisation table 0
    bool restartInterval = false;
};

inline JpegMarkers ReadJpegMarkers(const std::string& jpeg) {
    JpegMarkers markers;
    auto byte = [&](size_t at) {
        return at < jpeg.size() ? static_cast<unsigned char>(jpeg[at]) : 0;
    };
    if (byte(0) != 0xFF || byte(1) != 0xD8) {
        return markers;
    }
    markers.jfif =
        byte(2) == 0xFF && byte(3) == 0xE0 && jpeg.compare(6, 5, std::string("JFIF\0", 5)) == 0;
    for (size_t at = 2; at + 4 <= jpeg.size() && byte(at) == 0xFF;) {
        const int marker = byte(at + 1);
        const size_t length = byte(at + 2) << 8 | byte(at + 3);
        if (marker == 0xDA) {
            break;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            markers.frameMarker = marker;
            markers.height = byte(at + 5) << 8 | byte(at + 6);
            markers.width = byte(at + 7) << 8 | byte(at + 8);
            for (int c = 0; c < byte(at + 9); ++c) {
                markers.sampling.push_back(byte(at + 11 + 3 * c));
            }
        } else if (marker == 0xDB && (byte(at + 4) & 0x0F) == 0) {
            markers.firstLuminanceQuant = byte(at + 5);
        } else if (marker == 0xDD) {
            markers.restartInterval = true;
        }
        at += 2 + length;
    }
    return markers;
}

// PSNR in dB over all samples of two RGB images of the same size (infinite when equal).
inline double Psnr(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    if (a.size() != b.size() || a.empty()) {
        return 0;
    }
    double squares = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double d = static_cast<double>(a[i]) - b[i];
        squares += d * d;
    }
    if (squares == 0) {
        return INFINITY;
    }
    return 10 * std::log10(255.0 * 255.0 * a.size() / squares);
}
