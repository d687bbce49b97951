#pragma once
// A replaceable engine: the real one unless a test installed its own.
// Each seam (effects, traces, system probes, memory) keeps one of these.
namespace base {

template <typename T>
class Seam {
 public:
  T& Get() {
    static T real;
    return installed_ ? *installed_ : real;
  }
  // Installs `t` (nullptr restores the real one); returns the previous one.
  T* Set(T* t) {
    T* old = installed_;
    installed_ = t;
    return old;
  }

 private:
  T* installed_ = nullptr;
};

}  // namespace base
