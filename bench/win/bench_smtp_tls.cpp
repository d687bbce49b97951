// Sends one message with an attachment over implicit TLS to localhost:PORT
// (login user / password), RUNS times, trusting the CA in CA_DER for the
// time of the run; prints the best time in seconds:
//   bench_smtp_tls PORT CA_DER ATTACHMENT RUNS
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "../BenchMail.h"
#include "net/TrustedTestCa.h"

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: bench_smtp_tls PORT CA_DER ATTACHMENT RUNS\n");
    return 2;
  }
  std::ifstream in(argv[2], std::ios::binary);
  nettest::TrustedTestCa trust(std::string(std::istreambuf_iterator<char>(in), {}));
  if (!trust.ok()) {
    std::fprintf(stderr, "the CA could not be trusted\n");
    return 1;
  }
  double best = 1e9;
  for (int run = 0; run < std::atoi(argv[4]); ++run) {
    CSmtp smtp;
    smtp.SetSecurity(CSmtp::Security::kImplicitTls);
    FillBenchMail(smtp, "localhost", static_cast<uint16_t>(std::atoi(argv[1])), argv[3]);
    auto start = std::chrono::steady_clock::now();
    if (!smtp.SendMail()) {
      std::fprintf(stderr, "send failed: %d\n", smtp.LastErrorCode());
      return 1;
    }
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (took.count() < best) best = took.count();
  }
  std::printf("%.6f\n", best);
  return 0;
}
