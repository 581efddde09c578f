// The EHLO reply's extension lines and the TLS record header, fed with arbitrary bytes: each
// input is cut into lines at LF, as the reply reader hands them over; the first 5 bytes are
// also read as a record header.
#include <cstddef>
#include <cstdint>

#include "mail/smtp_extensions.h"
#include "mail/tls_channel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SmtpExtensions extensions;
    ClearSmtpExtensions(extensions);
    const char* text = reinterpret_cast<const char*>(data);
    size_t start = 0;
    int lineNumber = 0;
    for (size_t i = 0; i <= size; ++i) {
        if (i == size || text[i] == '\n') {
            ReadEhloLine(extensions, text + start, i - start, lineNumber++);
            start = i + 1;
        }
    }
    ChooseAuthMechanism(extensions);
    if (size >= kTlsRecordHeaderSize) {
        TlsRecordLength(data);
    }
    return 0;
}
