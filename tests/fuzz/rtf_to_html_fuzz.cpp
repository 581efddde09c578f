// RTF to HTML: any text gives a whole HTML document or nothing. The document ends with its
// closing tags and holds no NUL before them (a NUL would cut the HTML part short), and a block
// handed in for reuse is reused or freed.
#include "fuzz_support.h"

#include <cstring>

#include "mail/rtf_to_html.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string rtf(reinterpret_cast<const char*>(data), size);
    // A block of a size that varies with the input, or none.
    size_t capacity = size % 3 == 0 ? 0 : size * 2 + 1;
    char* block = capacity != 0 ? static_cast<char*>(std::malloc(capacity)) : nullptr;
    if (block != nullptr) {
        std::memset(block, 'x', capacity);
    }
    char* html = ConvertRtfToHtml(rtf.c_str(), block, &capacity);
    if (html == nullptr) {
        FUZZ_CHECK(capacity == 0);
        return 0;
    }
    const std::string document(html);
    FUZZ_CHECK(document.size() < capacity);
    FUZZ_CHECK(document.rfind("<HTML>\n<BODY>\n", 0) == 0);
    FUZZ_CHECK(document.size() >= 30 &&
               document.compare(document.size() - 16, 16, "</BODY>\n</HTML>\n") == 0);
    std::free(html);
    return 0;
}
