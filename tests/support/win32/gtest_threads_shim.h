// MinGW's win32 thread model has no std::mutex or std::condition_variable, which
// googletest's headers name on Windows. The Wine test program runs on one thread, so
// stand-ins that never block are enough. Force-included into googletest and the tests.
#pragma once

#include <condition_variable>
#include <mutex>

#if !defined(_GLIBCXX_HAS_GTHREADS)
namespace std {
class mutex {
public:
    void lock() {}
    void unlock() {}
    bool try_lock() { return true; }
};
class condition_variable {
public:
    void notify_all() {}
    void notify_one() {}
    template <class Lock, class Predicate>
    void wait(Lock&, Predicate ready) {
        while (!ready()) {
        }
    }
};
}  // namespace std
#endif
