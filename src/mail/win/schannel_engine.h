// The platform's TLS: Schannel through SSPI, as the TlsEngine of the SMTP connection. The
// server's certificate is checked by the program itself once the handshake is done (Schannel
// is told to leave it alone, so that the message can say what was wrong): the chain must end
// at a root this user trusts and the certificate must name the server as typed in the
// settings.
#pragma once

#define SECURITY_WIN32
#include <windows.h>

#include <security.h>

#include "mail/tls_channel.h"

class SchannelEngine : public TlsEngine {
  public:
    SchannelEngine() = default;
    SchannelEngine(const SchannelEngine&) = delete;
    SchannelEngine& operator=(const SchannelEngine&) = delete;
    ~SchannelEngine() override { Reset(); }

    // Forgets any earlier connection and prepares one to the server of that name.
    void Begin(const char* serverName);
    // Gives back the credentials and the context.
    void Reset();

    TlsStep Handshake(const unsigned char* input, size_t inputLength, size_t* consumed,
                      unsigned char* output, size_t outputSize, size_t* outputLength) override;
    bool Encrypt(const unsigned char* data, size_t length, unsigned char* output, size_t outputSize,
                 size_t* outputLength) override;
    TlsRecordKind Decrypt(unsigned char* record, size_t length, size_t* offset,
                          size_t* plainLength) override;
    void DescribeFailure(char* text, size_t size) override;

  private:
    TlsStep Fail(const char* text);
    TlsStep FailStatus(const char* what, SECURITY_STATUS status);
    bool CheckServerCertificate();

    char serverName_[256] = {};
    CredHandle credentials_ = {};
    CtxtHandle context_ = {};
    bool haveCredentials_ = false;
    bool haveContext_ = false;
    SecPkgContext_StreamSizes sizes_ = {};
    char failure_[kTlsFailureSize] = {};
};
