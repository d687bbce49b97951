// Fetches one address several times with Request::SendHTTP and prints the
// best time in seconds and the body size: bench_http URL [REPEATS]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "net/Request.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_http URL [REPEATS]\n");
    return 2;
  }
  int repeats = argc > 2 ? std::atoi(argv[2]) : 5;
  double best = 1e9;
  size_t size = 0;
  // Room for the large file; the program's own fetches keep the small defaults.
  net::HttpLimits limits;
  limits.maxBody = size_t{1} << 30;
  limits.total = std::chrono::minutes(5);
  for (int i = 0; i < repeats; ++i) {
    RequestResult result;
    auto start = std::chrono::steady_clock::now();
    if (Request::SendHTTP(net::SystemServices(), limits, argv[1], nullptr, nullptr, 0, result) !=
        0) {
      std::fprintf(stderr, "transfer failed\n");
      return 1;
    }
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (took.count() < best) best = took.count();
    size = result.body.size();
  }
  std::printf("%.6f %zu\n", best, size);
  return 0;
}
