#include "video/jpeg_encoder.h"

#include <csetjmp>
#include <cstring>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr library; // first, so that the library's pointer is ours too
    std::jmp_buf escape;
    const char* prefix;
};

[[noreturn]] void LeaveOnError(j_common_ptr info) {
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void PrintMessage(j_common_ptr info) {
    const ErrorManager* manager = reinterpret_cast<ErrorManager*>(info->err);
    if (manager->prefix == nullptr) {
        return;
    }
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    std::fprintf(stderr, "%s: %s\n", manager->prefix, text);
}

// A destination that grows a byte vector.
constexpr size_t kBufferStep = 64 * 1024;

struct VectorDestination {
    jpeg_destination_mgr library; // first, as above
    std::vector<unsigned char>* bytes;
};

void StartVector(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    destination->bytes->resize(kBufferStep);
    destination->library.next_output_byte = destination->bytes->data();
    destination->library.free_in_buffer = destination->bytes->size();
}

boolean GrowVector(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    // The library calls this when the whole buffer is full.
    const size_t used = destination->bytes->size();
    destination->bytes->resize(used + kBufferStep);
    destination->library.next_output_byte = destination->bytes->data() + used;
    destination->library.free_in_buffer = kBufferStep;
    return TRUE;
}

void FinishVector(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    destination->bytes->resize(destination->bytes->size() - destination->library.free_in_buffer);
}

} // namespace

bool CompressJpeg(const JpegInput& input, const JpegOutput& output, const char* messagePrefix) {
    if (input.width <= 0 || input.height <= 0 || input.width > 65500 || input.height > 65500 ||
        input.row == nullptr || (output.file == nullptr && output.bytes == nullptr)) {
        return false;
    }
    // Everything the error path touches is set up before setjmp and lives in this frame.
    jpeg_compress_struct info;
    ErrorManager errors;
    VectorDestination destination = {};
    std::vector<unsigned char> row(static_cast<size_t>(input.width) * 3);
    std::memset(&info, 0, sizeof info);
    info.err = jpeg_std_error(&errors.library);
    errors.library.error_exit = LeaveOnError;
    errors.library.output_message = PrintMessage;
    errors.prefix = messagePrefix;
    if (setjmp(errors.escape) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    if (output.file != nullptr) {
        jpeg_stdio_dest(&info, output.file);
    } else {
        destination.library.init_destination = StartVector;
        destination.library.empty_output_buffer = GrowVector;
        destination.library.term_destination = FinishVector;
        destination.bytes = output.bytes;
        info.dest = &destination.library;
    }
    info.image_width = static_cast<JDIMENSION>(input.width);
    info.image_height = static_cast<JDIMENSION>(input.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kJpegQuality, TRUE); // baseline-compatible tables
    jpeg_start_compress(&info, TRUE);
    JSAMPROW rows[1] = {row.data()};
    bool ok = true;
    while (ok && info.next_scanline < info.image_height) {
        ok = input.row(input.context, static_cast<int>(info.next_scanline), row.data());
        if (ok) {
            jpeg_write_scanlines(&info, rows, 1);
        }
    }
    if (ok) {
        jpeg_finish_compress(&info);
    }
    jpeg_destroy_compress(&info);
    if (ok && output.file != nullptr) {
        ok = std::fflush(output.file) == 0 && !std::ferror(output.file);
    }
    return ok;
}
