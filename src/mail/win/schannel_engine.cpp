#include "mail/win/schannel_engine.h"

#include <schannel.h>
#include <wincrypt.h>

#include <cstdio>
#include <cstring>

#include "base/text_fields.h"

namespace {

constexpr ULONG kContextRequest = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                                  ISC_REQ_CONFIDENTIALITY | ISC_REQ_EXTENDED_ERROR |
                                  ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM |
                                  ISC_REQ_MANUAL_CRED_VALIDATION;

constexpr unsigned char kAlertRecord = 21;

// Gives back a buffer Schannel allocated.
class ContextBuffer {
  public:
    explicit ContextBuffer(void* buffer) : buffer_(buffer) {}
    ContextBuffer(const ContextBuffer&) = delete;
    ContextBuffer& operator=(const ContextBuffer&) = delete;
    ~ContextBuffer() {
        if (buffer_ != nullptr) {
            FreeContextBuffer(buffer_);
        }
    }

  private:
    void* buffer_;
};

// Releases a certificate context or a chain.
class CertificateOwner {
  public:
    explicit CertificateOwner(PCCERT_CONTEXT certificate) : certificate_(certificate) {}
    CertificateOwner(const CertificateOwner&) = delete;
    CertificateOwner& operator=(const CertificateOwner&) = delete;
    ~CertificateOwner() {
        if (certificate_ != nullptr) {
            CertFreeCertificateContext(certificate_);
        }
    }

  private:
    PCCERT_CONTEXT certificate_;
};

class ChainOwner {
  public:
    explicit ChainOwner(PCCERT_CHAIN_CONTEXT chain) : chain_(chain) {}
    ChainOwner(const ChainOwner&) = delete;
    ChainOwner& operator=(const ChainOwner&) = delete;
    ~ChainOwner() {
        if (chain_ != nullptr) {
            CertFreeCertificateChain(chain_);
        }
    }

  private:
    PCCERT_CHAIN_CONTEXT chain_;
};

// The faults of a chain that make it untrusted whatever the policy says (revocation is not
// asked for, so its "unknown" bits are not among them).
constexpr DWORD kUntrustedChain = CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN |
                                  CERT_TRUST_IS_NOT_SIGNATURE_VALID | CERT_TRUST_IS_CYCLIC |
                                  CERT_TRUST_INVALID_BASIC_CONSTRAINTS;
constexpr DWORD kOutOfTimeChain = CERT_TRUST_IS_NOT_TIME_VALID;

// The policy error a chain's own faults amount to; 0 when it has none of them.
DWORD ChainError(DWORD trustErrors) {
    if (trustErrors & kUntrustedChain) {
        return static_cast<DWORD>(CERT_E_UNTRUSTEDROOT);
    }
    if (trustErrors & kOutOfTimeChain) {
        return static_cast<DWORD>(CERT_E_EXPIRED);
    }
    if (trustErrors & CERT_TRUST_IS_REVOKED) {
        return static_cast<DWORD>(CRYPT_E_REVOKED);
    }
    if (trustErrors & CERT_TRUST_IS_NOT_VALID_FOR_USAGE) {
        return static_cast<DWORD>(CERT_E_WRONG_USAGE);
    }
    return 0;
}

// What a failed chain policy check means for the user.
const char* DescribeCertificateError(DWORD error) {
    switch (error) {
    case static_cast<DWORD>(CERT_E_UNTRUSTEDROOT):
    case static_cast<DWORD>(CERT_E_CHAINING):
    case static_cast<DWORD>(TRUST_E_CERT_SIGNATURE):
        return "The server's certificate is not trusted: it does not come from a certification "
               "authority this computer trusts.";
    case static_cast<DWORD>(CERT_E_EXPIRED):
        return "The server's certificate has expired or is not yet valid.";
    case static_cast<DWORD>(CERT_E_CN_NO_MATCH):
        return "The server's certificate is for another host name than the one in E-mail "
               "Settings.";
    case static_cast<DWORD>(CRYPT_E_REVOKED):
        return "The server's certificate has been revoked.";
    case static_cast<DWORD>(CERT_E_WRONG_USAGE):
        return "The server's certificate is not meant for a server.";
    default:
        return nullptr;
    }
}

} // namespace

void SchannelEngine::Begin(const char* serverName) {
    Reset();
    CopyField(serverName_, sizeof serverName_, serverName);
}

void SchannelEngine::Reset() {
    if (haveContext_) {
        DeleteSecurityContext(&context_);
        haveContext_ = false;
    }
    if (haveCredentials_) {
        FreeCredentialsHandle(&credentials_);
        haveCredentials_ = false;
    }
    failure_[0] = '\0';
    sizes_ = {};
}

TlsStep SchannelEngine::Fail(const char* text) {
    CopyField(failure_, sizeof failure_, text);
    return TlsStep::Failed;
}

TlsStep SchannelEngine::FailStatus(const char* what, SECURITY_STATUS status) {
    std::snprintf(failure_, sizeof failure_, "%s (security error 0x%08lX).", what,
                  static_cast<unsigned long>(status));
    return TlsStep::Failed;
}

TlsStep SchannelEngine::Handshake(const unsigned char* input, size_t inputLength, size_t* consumed,
                                  unsigned char* output, size_t outputSize, size_t* outputLength) {
    *consumed = 0;
    *outputLength = 0;
    if (!haveCredentials_) {
        SCHANNEL_CRED settings = {};
        settings.dwVersion = SCHANNEL_CRED_VERSION;
        // The certificate is checked below, where the reason for a refusal is known.
        settings.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
        TimeStamp expiry;
        const SECURITY_STATUS status = AcquireCredentialsHandleA(
            nullptr, const_cast<char*>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND, nullptr, &settings,
            nullptr, nullptr, &credentials_, &expiry);
        if (status != SEC_E_OK) {
            return FailStatus("The system's TLS package could not be started", status);
        }
        haveCredentials_ = true;
    }

    SecBuffer in[2] = {};
    in[0].BufferType = SECBUFFER_TOKEN;
    in[0].pvBuffer = const_cast<unsigned char*>(input);
    in[0].cbBuffer = static_cast<unsigned long>(inputLength);
    in[1].BufferType = SECBUFFER_EMPTY;
    SecBufferDesc inDesc = {SECBUFFER_VERSION, 2, in};
    SecBuffer out[1] = {};
    out[0].BufferType = SECBUFFER_TOKEN;
    SecBufferDesc outDesc = {SECBUFFER_VERSION, 1, out};
    ULONG attributes = 0;
    TimeStamp expiry;
    const SECURITY_STATUS status = InitializeSecurityContextA(
        &credentials_, haveContext_ ? &context_ : nullptr, serverName_, kContextRequest, 0, 0,
        haveContext_ ? &inDesc : nullptr, 0, haveContext_ ? nullptr : &context_, &outDesc,
        &attributes, &expiry);
    const ContextBuffer outOwner(out[0].pvBuffer);
    if (status == SEC_E_INCOMPLETE_MESSAGE) {
        return TlsStep::Pending; // more records are needed
    }
    if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED) {
        if (status == SEC_E_WRONG_PRINCIPAL) {
            return Fail(DescribeCertificateError(static_cast<DWORD>(CERT_E_CN_NO_MATCH)));
        }
        if (status == SEC_E_UNTRUSTED_ROOT) {
            return Fail(DescribeCertificateError(static_cast<DWORD>(CERT_E_UNTRUSTEDROOT)));
        }
        if (status == SEC_E_CERT_EXPIRED) {
            return Fail(DescribeCertificateError(static_cast<DWORD>(CERT_E_EXPIRED)));
        }
        return FailStatus("The server and Kestro could not agree on a secure connection", status);
    }
    haveContext_ = true;
    if (out[0].cbBuffer > 0 && out[0].pvBuffer != nullptr) {
        if (out[0].cbBuffer > outputSize) {
            return Fail("The secure handshake produced more than Kestro can send at once.");
        }
        std::memcpy(output, out[0].pvBuffer, out[0].cbBuffer);
        *outputLength = out[0].cbBuffer;
    }
    const size_t extra = in[1].BufferType == SECBUFFER_EXTRA ? in[1].cbBuffer : 0;
    *consumed = inputLength >= extra ? inputLength - extra : inputLength;
    if (status == SEC_I_CONTINUE_NEEDED) {
        return TlsStep::Pending;
    }
    if (!CheckServerCertificate()) {
        return TlsStep::Failed;
    }
    const SECURITY_STATUS sizesStatus =
        QueryContextAttributesA(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_);
    if (sizesStatus != SEC_E_OK) {
        return FailStatus("The secure connection's record sizes are not known", sizesStatus);
    }
    return TlsStep::Done;
}

bool SchannelEngine::CheckServerCertificate() {
    PCCERT_CONTEXT certificate = nullptr;
    if (QueryContextAttributesA(&context_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) !=
            SEC_E_OK ||
        certificate == nullptr) {
        Fail("The server sent no certificate.");
        return false;
    }
    const CertificateOwner certificateOwner(certificate);

    char serverAuth[] = szOID_PKIX_KP_SERVER_AUTH;
    char* usages[] = {serverAuth};
    CERT_CHAIN_PARA chainPara = {};
    chainPara.cbSize = sizeof chainPara;
    chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
    chainPara.RequestedUsage.Usage.cUsageIdentifier = 1;
    chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    if (!CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore, &chainPara,
                                 0, nullptr, &chain)) {
        Fail("The server's certificate could not be checked.");
        return false;
    }
    const ChainOwner chainOwner(chain);

    wchar_t wideName[256];
    if (MultiByteToWideChar(CP_ACP, 0, serverName_, -1, wideName, 256) == 0) {
        Fail("The server's name cannot be compared with its certificate.");
        return false;
    }
    HTTPSPolicyCallbackData https = {};
    https.cbStruct = sizeof https;
    https.dwAuthType = AUTHTYPE_SERVER;
    https.pwszServerName = wideName;
    CERT_CHAIN_POLICY_PARA policyPara = {};
    policyPara.cbSize = sizeof policyPara;
    policyPara.pvExtraPolicyPara = &https;
    CERT_CHAIN_POLICY_STATUS policyStatus = {};
    policyStatus.cbSize = sizeof policyStatus;
    if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policyPara,
                                          &policyStatus)) {
        Fail("The server's certificate could not be checked.");
        return false;
    }
    // Some systems' policy passes a chain that stops short of any root: its own faults count
    // first.
    DWORD error = ChainError(chain->TrustStatus.dwErrorStatus);
    if (error == 0) {
        error = policyStatus.dwError;
    }
    if (error != 0) {
        const char* reason = DescribeCertificateError(error);
        if (reason != nullptr) {
            Fail(reason);
        } else {
            std::snprintf(failure_, sizeof failure_,
                          "The server's certificate was refused (error 0x%08lX).",
                          static_cast<unsigned long>(error));
        }
        return false;
    }
    return true;
}

bool SchannelEngine::Encrypt(const unsigned char* data, size_t length, unsigned char* output,
                             size_t outputSize, size_t* outputLength) {
    *outputLength = 0;
    if (length > sizes_.cbMaximumMessage ||
        sizes_.cbHeader + length + sizes_.cbTrailer > outputSize) {
        CopyField(failure_, sizeof failure_, "A piece of the message is too large to encrypt.");
        return false;
    }
    std::memcpy(output + sizes_.cbHeader, data, length);
    SecBuffer buffers[4] = {};
    buffers[0].BufferType = SECBUFFER_STREAM_HEADER;
    buffers[0].pvBuffer = output;
    buffers[0].cbBuffer = sizes_.cbHeader;
    buffers[1].BufferType = SECBUFFER_DATA;
    buffers[1].pvBuffer = output + sizes_.cbHeader;
    buffers[1].cbBuffer = static_cast<unsigned long>(length);
    buffers[2].BufferType = SECBUFFER_STREAM_TRAILER;
    buffers[2].pvBuffer = output + sizes_.cbHeader + length;
    buffers[2].cbBuffer = sizes_.cbTrailer;
    buffers[3].BufferType = SECBUFFER_EMPTY;
    SecBufferDesc desc = {SECBUFFER_VERSION, 4, buffers};
    const SECURITY_STATUS status = EncryptMessage(&context_, 0, &desc, 0);
    if (status != SEC_E_OK) {
        FailStatus("The message could not be encrypted", status);
        return false;
    }
    *outputLength = buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer;
    return true;
}

TlsRecordKind SchannelEngine::Decrypt(unsigned char* record, size_t length, size_t* offset,
                                      size_t* plainLength) {
    *offset = 0;
    *plainLength = 0;
    const bool isAlert = length > 0 && record[0] == kAlertRecord;
    SecBuffer buffers[4] = {};
    buffers[0].BufferType = SECBUFFER_DATA;
    buffers[0].pvBuffer = record;
    buffers[0].cbBuffer = static_cast<unsigned long>(length);
    for (int i = 1; i < 4; ++i) {
        buffers[i].BufferType = SECBUFFER_EMPTY;
    }
    SecBufferDesc desc = {SECBUFFER_VERSION, 4, buffers};
    const SECURITY_STATUS status = DecryptMessage(&context_, &desc, 0, nullptr);
    // The server's closing alert. Some implementations of the package take it without saying
    // so; below TLS 1.3 the record's own type tells.
    if (status == SEC_I_CONTEXT_EXPIRED || (status == SEC_E_OK && isAlert)) {
        return TlsRecordKind::Closed;
    }
    if (status == SEC_I_RENEGOTIATE) {
        // A message of the handshake after it ended (a session ticket, for one): the context
        // takes it and the record carries no data.
        SecBuffer out[1] = {};
        out[0].BufferType = SECBUFFER_TOKEN;
        SecBufferDesc outDesc = {SECBUFFER_VERSION, 1, out};
        SecBuffer in[2] = {};
        in[0].BufferType = SECBUFFER_EMPTY;
        in[1].BufferType = SECBUFFER_EMPTY;
        for (int i = 1; i < 4; ++i) {
            if (buffers[i].BufferType == SECBUFFER_EXTRA) {
                in[0].BufferType = SECBUFFER_TOKEN;
                in[0].pvBuffer = buffers[i].pvBuffer;
                in[0].cbBuffer = buffers[i].cbBuffer;
            }
        }
        SecBufferDesc inDesc = {SECBUFFER_VERSION, 2, in};
        ULONG attributes = 0;
        TimeStamp expiry;
        const SECURITY_STATUS again =
            InitializeSecurityContextA(&credentials_, &context_, serverName_, kContextRequest, 0, 0,
                                       &inDesc, 0, nullptr, &outDesc, &attributes, &expiry);
        const ContextBuffer outOwner(out[0].pvBuffer);
        if (again != SEC_E_OK) {
            FailStatus("The server asked to renegotiate the secure connection", again);
            return TlsRecordKind::Failed;
        }
        return TlsRecordKind::Data;
    }
    if (status != SEC_E_OK) {
        FailStatus("A record from the server could not be decrypted", status);
        return TlsRecordKind::Failed;
    }
    for (int i = 0; i < 4; ++i) {
        if (buffers[i].BufferType == SECBUFFER_DATA) {
            const unsigned char* data = static_cast<const unsigned char*>(buffers[i].pvBuffer);
            if (data < record || data + buffers[i].cbBuffer > record + length) {
                break; // not inside the record: taken as no data
            }
            *offset = static_cast<size_t>(data - record);
            *plainLength = buffers[i].cbBuffer;
            break;
        }
    }
    return TlsRecordKind::Data;
}

void SchannelEngine::DescribeFailure(char* text, size_t size) {
    CopyField(text, size, failure_[0] != '\0' ? failure_ : "The secure connection failed.");
}
