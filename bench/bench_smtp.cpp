// Sends one message to 127.0.0.1:PORT (login user / password) with an
// optional attachment and prints the time in seconds and the peak resident
// size in KiB: bench_smtp PORT [ATTACHMENT]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "BenchMail.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_smtp PORT [ATTACHMENT]\n");
    return 2;
  }
  CSmtp smtp;
  smtp.SetSecurity(CSmtp::Security::kPlain);
  FillBenchMail(smtp, "127.0.0.1", static_cast<uint16_t>(std::atoi(argv[1])),
                argc > 2 ? argv[2] : nullptr);
  auto start = std::chrono::steady_clock::now();
  bool sent = smtp.SendMail();
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (!sent) {
    std::fprintf(stderr, "send failed: %d\n", smtp.LastErrorCode());
    return 1;
  }
  // VmHWM starts afresh at exec, unlike ru_maxrss, which keeps the size of
  // the forking parent.
  long peak = 0;
  if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, status))
      if (std::sscanf(line, "VmHWM: %ld", &peak) == 1) break;
    std::fclose(status);
  }
  std::printf("%.6f %ld\n", took.count(), peak);
  return 0;
}
