#pragma once
// Runs a call that has no time limit of its own (name resolution) on a
// helper thread and stops waiting for it at the limit; a late answer is
// dropped by the helper.
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace net {

template <typename T, typename Call>
std::optional<T> CallWithTimeLimit(Call call, std::chrono::milliseconds limit) {
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
  std::unique_lock<std::mutex> lock(shared->mutex);
  shared->done.wait_for(lock, limit, [&] { return shared->value.has_value(); });
  return std::move(shared->value);
}

}  // namespace net
