// TLS over a connected stream with the system's SChannel. The server's
// certificate is checked here, against the system's roots and the host
// name, rather than left to the provider: every Windows version (and Wine)
// then checks it the same way and tells why it refused.
#define SECURITY_WIN32
#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>
#include <schannel.h>
#include <security.h>
#include <sspi.h>

#include <algorithm>
#include <vector>

#include "base/Text.h"
#include "net/WinTls.h"

namespace net {

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kReadChunk = 16 * 1024;

Millis Left(Clock::time_point deadline) {
  return std::max(Millis(0), std::chrono::duration_cast<Millis>(deadline - Clock::now()));
}

// The content types of TLS records: change_cipher_spec, alert, handshake,
// application_data.
bool CanStartTlsRecord(char first) {
  const unsigned char type = static_cast<unsigned char>(first);
  return type >= 20 && type <= 23;
}

IoStatus SendBuffer(Stream& plain, const SecBuffer& buffer, Millis limit) {
  if (buffer.cbBuffer == 0 || buffer.pvBuffer == nullptr) return IoStatus::kOk;
  return plain.SendAll(static_cast<const char*>(buffer.pvBuffer), buffer.cbBuffer, limit);
}

class TlsStream : public Stream {
 public:
  explicit TlsStream(std::unique_ptr<Stream> plain) : plain_(std::move(plain)) {}
  ~TlsStream() override {
    if (haveContext_) DeleteSecurityContext(&context_);
    if (haveCredentials_) FreeCredentialsHandle(&credentials_);
  }

  TlsFailure Handshake(const std::string& host, Millis limit) {
    const auto deadline = Clock::now() + limit;
    SCHANNEL_CRED settings{};
    settings.dwVersion = SCHANNEL_CRED_VERSION;
    // TLS 1.2, which every mail provider speaks; older versions are broken
    // and Windows 7 does not offer 1.2 unless asked.
    settings.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
    settings.dwFlags = SCH_CRED_NO_DEFAULT_CREDS | SCH_CRED_MANUAL_CRED_VALIDATION;
    wchar_t package[] = UNISP_NAME_W;
    if (AcquireCredentialsHandleW(nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, &settings,
                                  nullptr, nullptr, &credentials_, nullptr) != SEC_E_OK)
      return TlsFailure::kUnavailable;
    haveCredentials_ = true;

    std::wstring target = base::Wide(host);
    const ULONG wanted = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                         ISC_REQ_EXTENDED_ERROR | ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM |
                         ISC_REQ_MANUAL_CRED_VALIDATION;
    for (bool first = true;;) {
      SecBuffer in[2] = {{static_cast<ULONG>(incoming_.size()), SECBUFFER_TOKEN, incoming_.data()},
                         {0, SECBUFFER_EMPTY, nullptr}};
      SecBuffer out{0, SECBUFFER_TOKEN, nullptr};
      SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in};
      SecBufferDesc outDesc{SECBUFFER_VERSION, 1, &out};
      ULONG got = 0;
      SECURITY_STATUS status = InitializeSecurityContextW(
          &credentials_, first ? nullptr : &context_, target.data(), wanted, 0, 0,
          first ? nullptr : &inDesc, 0, &context_, &outDesc, &got, nullptr);
      if (first && (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED)) haveContext_ = true;
      IoStatus sent = SendBuffer(*plain_, out, Left(deadline));
      if (out.pvBuffer != nullptr) FreeContextBuffer(out.pvBuffer);
      if (sent == IoStatus::kTimedOut) return TlsFailure::kTimedOut;
      if (sent != IoStatus::kOk) return TlsFailure::kHandshake;
      if (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED) {
        if (!first) KeepExtra(in[1]);
        first = false;
        if (status == SEC_E_OK) break;
        if (!incoming_.empty()) continue;
      } else if (status != SEC_E_INCOMPLETE_MESSAGE) {
        return TlsFailure::kHandshake;
      }
      const bool recordStart = incoming_.empty();
      IoStatus read = ReadMore(Left(deadline));
      if (read == IoStatus::kTimedOut) return TlsFailure::kTimedOut;
      if (read != IoStatus::kOk) return TlsFailure::kHandshake;
      // A plain server's "220 ..." is no TLS record: refused now rather
      // than read as the start of one that never completes.
      if (recordStart && !CanStartTlsRecord(incoming_[0])) return TlsFailure::kHandshake;
    }
    if (QueryContextAttributesW(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_) != SEC_E_OK)
      return TlsFailure::kHandshake;
    return Verify(target);
  }

  IoStatus SendAll(const char* data, size_t size, Millis limit) override {
    std::vector<char> record(sizes_.cbHeader + sizes_.cbMaximumMessage + sizes_.cbTrailer);
    while (size > 0) {
      ULONG n = static_cast<ULONG>(std::min<size_t>(size, sizes_.cbMaximumMessage));
      std::copy(data, data + n, record.data() + sizes_.cbHeader);
      SecBuffer parts[4] = {
          {sizes_.cbHeader, SECBUFFER_STREAM_HEADER, record.data()},
          {n, SECBUFFER_DATA, record.data() + sizes_.cbHeader},
          {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER, record.data() + sizes_.cbHeader + n},
          {0, SECBUFFER_EMPTY, nullptr}};
      SecBufferDesc desc{SECBUFFER_VERSION, 4, parts};
      if (EncryptMessage(&context_, 0, &desc, 0) != SEC_E_OK) return IoStatus::kFailed;
      size_t total = parts[0].cbBuffer + parts[1].cbBuffer + parts[2].cbBuffer;
      IoStatus sent = plain_->SendAll(record.data(), total, limit);
      if (sent != IoStatus::kOk) return sent;
      data += n;
      size -= n;
    }
    return IoStatus::kOk;
  }

  IoResult Receive(char* buffer, size_t capacity, Millis limit) override {
    const auto deadline = Clock::now() + limit;
    for (;;) {
      if (!clear_.empty()) {
        size_t n = clear_.copy(buffer, capacity);
        clear_.erase(0, n);
        return {IoStatus::kOk, n};
      }
      if (closed_) return {IoStatus::kClosed, 0};
      if (!incoming_.empty()) {
        SecBuffer parts[4] = {
            {static_cast<ULONG>(incoming_.size()), SECBUFFER_DATA, incoming_.data()},
            {0, SECBUFFER_EMPTY, nullptr},
            {0, SECBUFFER_EMPTY, nullptr},
            {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc desc{SECBUFFER_VERSION, 4, parts};
        SECURITY_STATUS status = DecryptMessage(&context_, &desc, 0, nullptr);
        if (status == SEC_E_OK || status == SEC_I_CONTEXT_EXPIRED) {
          std::string extra;
          for (const SecBuffer& part : parts) {
            if (part.BufferType == SECBUFFER_DATA && part.pvBuffer != nullptr)
              clear_.append(static_cast<const char*>(part.pvBuffer), part.cbBuffer);
            if (part.BufferType == SECBUFFER_EXTRA && part.pvBuffer != nullptr)
              extra.assign(static_cast<const char*>(part.pvBuffer), part.cbBuffer);
          }
          incoming_.swap(extra);
          closed_ = status == SEC_I_CONTEXT_EXPIRED;
          continue;
        }
        if (status != SEC_E_INCOMPLETE_MESSAGE) return {IoStatus::kFailed, 0};
      }
      IoStatus read = ReadMore(Left(deadline));
      // A peer that just hangs up after its last record is taken as closed.
      if (read == IoStatus::kClosed)
        return {incoming_.empty() ? IoStatus::kClosed : IoStatus::kFailed, 0};
      if (read != IoStatus::kOk) return {read, 0};
    }
  }

  void Close() override { plain_->Close(); }

 private:
  IoStatus ReadMore(Millis limit) {
    char chunk[kReadChunk];
    IoResult got = plain_->Receive(chunk, sizeof chunk, limit);
    if (got.status == IoStatus::kOk) incoming_.append(chunk, got.bytes);
    return got.status;
  }

  // Bytes after the handshake message that the provider did not use.
  void KeepExtra(const SecBuffer& extra) {
    if (extra.BufferType == SECBUFFER_EXTRA && extra.cbBuffer <= incoming_.size())
      incoming_.erase(0, incoming_.size() - extra.cbBuffer);
    else
      incoming_.clear();
  }

  TlsFailure Verify(std::wstring& host) {
    PCCERT_CONTEXT certificate = nullptr;
    if (QueryContextAttributesW(&context_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) !=
            SEC_E_OK ||
        certificate == nullptr)
      return TlsFailure::kUntrusted;
    char serverAuth[] = szOID_PKIX_KP_SERVER_AUTH;
    LPSTR usages[] = {serverAuth};
    CERT_CHAIN_PARA chainPara{};
    chainPara.cbSize = sizeof chainPara;
    chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
    chainPara.RequestedUsage.Usage.cUsageIdentifier = 1;
    chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    BOOL built = CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore,
                                         &chainPara, 0, nullptr, &chain);
    CertFreeCertificateContext(certificate);
    if (!built || chain == nullptr) return TlsFailure::kUntrusted;

    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
    ssl.cbSize = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.pwszServerName = host.data();
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS result{};
    result.cbSize = sizeof result;
    BOOL checked = CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &result);
    CertFreeCertificateChain(chain);
    if (!checked) return TlsFailure::kUntrusted;
    if (result.dwError == 0) return TlsFailure::kNone;
    return static_cast<HRESULT>(result.dwError) == CERT_E_CN_NO_MATCH ? TlsFailure::kWrongHost
                                                                      : TlsFailure::kUntrusted;
  }

  std::unique_ptr<Stream> plain_;
  CredHandle credentials_{};
  CtxtHandle context_{};
  bool haveCredentials_ = false;
  bool haveContext_ = false;
  SecPkgContext_StreamSizes sizes_{};
  std::string incoming_;  // received, not yet decrypted
  std::string clear_;     // decrypted, not yet handed out
  bool closed_ = false;
};

}  // namespace

std::unique_ptr<Stream> StartSchannel(std::unique_ptr<Stream> plain, const std::string& host,
                                      Millis limit, TlsFailure& why) {
  auto tls = std::make_unique<TlsStream>(std::move(plain));
  why = tls->Handshake(host, limit);
  if (why != TlsFailure::kNone) {
    tls->Close();
    return nullptr;
  }
  return tls;
}

}  // namespace net
