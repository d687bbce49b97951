#pragma once
// Trusts the test peers' CA in the current user's root store of this Wine
// prefix for the lifetime of the object; never used outside the tests.
#include <string>

namespace nettest {

class TrustedTestCa {
 public:
  // The CA certificate in DER.
  explicit TrustedTestCa(std::string der);
  ~TrustedTestCa();
  TrustedTestCa(const TrustedTestCa&) = delete;
  TrustedTestCa& operator=(const TrustedTestCa&) = delete;
  bool ok() const { return added_; }

 private:
  std::string der_;
  bool added_ = false;
};

}  // namespace nettest
