#pragma once
// Runs a call that has no time limit of its own (name resolution) on a
// helper thread and stops waiting for it at the limit, or soon after `stop`
// is set; a late answer is dropped by the helper.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace net {

template <typename T, typename Call>
std::optional<T> CallWithTimeLimit(Call call, std::chrono::milliseconds limit,
                                   const std::atomic<bool>* stop = nullptr) {
  struct Shared {
    std::mutex mutex;
    std::condition_variable done;
    std::optional<T> value;
  };
  auto shared = std::make_shared<Shared>();
  std::thread([shared, call]() mutable {
    T value = call();
    std::lock_guard<std::mutex> lock(shared->mutex);
    shared->value = std::move(value);
    shared->done.notify_all();
  }).detach();
  const auto deadline = std::chrono::steady_clock::now() + limit;
  std::unique_lock<std::mutex> lock(shared->mutex);
  // The stopping thread cannot reach this condition: the wait looks at the
  // flag a few times a second.
  while (!shared->value && !(stop && stop->load())) {
    auto slice = std::min<std::chrono::steady_clock::duration>(
        deadline - std::chrono::steady_clock::now(), std::chrono::milliseconds(50));
    if (slice <= slice.zero()) break;
    shared->done.wait_for(lock, slice);
  }
  return std::move(shared->value);
}

}  // namespace net
