// Not a test: figures of the mail builder that `make bench` prints (scripts/bench-sending.sh
// builds this without the sanitizers). Prints one "BENCH name seconds ..." line per figure, the
// best of a few rounds each:
//   rtf-to-html SECONDS RTF_BYTES HTML_BYTES   a 1 MB body of the editor's RTF to HTML
//   text-part SECONDS LINES PART_BYTES         10,000 editor lines to the text part (7bit)
//   text-part-qp SECONDS LINES PART_BYTES      the same with accented letters (quoted-printable)
#include "mail/body_parts.h"
#include "mail/outgoing_message.h"
#include "mail/rtf_to_html.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

constexpr int kRounds = 5;
constexpr size_t kRtfBytes = 1024 * 1024;
constexpr int kLines = 10000;

// The best time of kRounds runs of work, in seconds.
double BestOf(const std::function<void()>& work) {
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = took.count() < best ? took.count() : best;
    }
    return best;
}

// A body as the editor streams it out: font and colour tables, then paragraphs whose words
// change font, size, colour and style, with blank runs, tabs and characters that need entities.
std::string EditorRtf(size_t size) {
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0\\deflang1033{\\fonttbl{\\f0\\fcharset0 "
        "Arial;}{\\f1\\fcharset0 Times New Roman;}}\r\n"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue0;\\red0\\green0"
        "\\blue255;}\r\n"
        "{\\*\\generator Wine Riched20 2.0;}\r\n";
    for (int paragraph = 0; rtf.size() < size; ++paragraph) {
        rtf += "\\pard\\sl-240\\slmult1 \\b\\cf1\\lang1033\\fs28\\f0 Paragraph\\b0\\cf2\\fs20  " +
               std::to_string(paragraph) +
               " of the message, with \\i some words\\i0  in italics, \\cf3\\ul a link-like "
               "run\\ulnone\\cf2  and text  with   blanks & <angles> and \"quotes\".\\par\r\n"
               "\\tab\\f1 A second line in another face, long enough to look like prose.\\par\r\n";
    }
    return rtf + "}\r\n";
}

// The lines EM_GETLINE gives for a body of kLines lines: each ends in a CR (a paragraph end).
std::string EditorLines(bool accented) {
    std::string text;
    for (int i = 0; i < kLines; ++i) {
        std::string line = "Line " + std::to_string(i) +
                           (accented ? " of the caf\xE9 body, cr\xE8me and = signs to encode.\r"
                                     : " of the body, a sentence of ordinary length here.\r");
        if (i % 100 == 99) {
            line = ".\r"; // a lone dot now and then
        }
        AppendEditorLine(text, line.data(), line.size());
    }
    return text;
}

struct MessageFree {
    void operator()(OutgoingMessage* message) const {
        ResetOutgoingMessage(*message);
        delete message;
    }
};

void TextPartFigure(const char* name, bool accented) {
    std::unique_ptr<OutgoingMessage, MessageFree> message(new OutgoingMessage());
    bool ok = true;
    const double seconds = BestOf([&] {
        // From the editor's lines, as send preparation collects them, to the finished part.
        const std::string lines = EditorLines(accented);
        ok = BuildTextPart(*message, lines.data(), lines.size()) && ok;
    });
    if (!ok) {
        std::fprintf(stderr, "building the text part failed\n");
        std::exit(1);
    }
    std::printf("BENCH %s %.6f %d %lu\n", name, seconds, kLines,
                static_cast<unsigned long>(message->textLength));
}

} // namespace

int main() {
    const std::string rtf = EditorRtf(kRtfBytes);
    size_t htmlLength = 0;
    bool converted = true;
    const double rtfSeconds = BestOf([&] {
        size_t capacity = 0;
        char* html = ConvertRtfToHtml(rtf.c_str(), nullptr, &capacity);
        converted = converted && html != nullptr;
        htmlLength = html != nullptr ? std::strlen(html) : 0;
        std::free(html);
    });
    if (!converted) {
        std::fprintf(stderr, "the RTF body was not converted\n");
        return 1;
    }
    std::printf("BENCH rtf-to-html %.6f %lu %lu\n", rtfSeconds,
                static_cast<unsigned long>(rtf.size()), static_cast<unsigned long>(htmlLength));
    TextPartFigure("text-part", false);
    TextPartFigure("text-part-qp", true);
    return 0;
}
