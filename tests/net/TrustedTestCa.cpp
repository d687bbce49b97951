#include "net/TrustedTestCa.h"

#include <windows.h>
#include <wincrypt.h>

#include <utility>

namespace nettest {

namespace {

HCERTSTORE OpenRoot() {
  return CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
}

}  // namespace

TrustedTestCa::TrustedTestCa(std::string der) : der_(std::move(der)) {
  if (der_.empty()) return;
  HCERTSTORE root = OpenRoot();
  if (root == nullptr) return;
  // Closing the store writes it out before any chain engine reads it.
  added_ = CertAddEncodedCertificateToStore(
               root, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der_.data()),
               static_cast<DWORD>(der_.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr) != FALSE;
  CertCloseStore(root, 0);
}

TrustedTestCa::~TrustedTestCa() {
  if (!added_) return;
  HCERTSTORE root = OpenRoot();
  if (root == nullptr) return;
  PCCERT_CONTEXT probe =
      CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der_.data()),
                                   static_cast<DWORD>(der_.size()));
  if (probe != nullptr) {
    PCCERT_CONTEXT found =
        CertFindCertificateInStore(root, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, probe, nullptr);
    if (found != nullptr) CertDeleteCertificateFromStore(found);
    CertFreeCertificateContext(probe);
  }
  CertCloseStore(root, 0);
}

}  // namespace nettest
