#pragma once
// Lock: a plain mutual-exclusion lock for the few places where two threads must not interleave a
// read-modify-write (the data port byte, the raw signature text, the dialog's display copy).
// Windows XP lacks what the standard library's mutex needs in this toolchain, so the lock is a
// seam: a critical section on Windows, std::mutex natively. Not recursive; hold it briefly.
#include <cstddef>

class Lock {
  public:
    Lock();
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    // Usable with std::lock_guard.
    void lock();
    void unlock();

  private:
    // Room for the platform's lock object (a CRITICAL_SECTION is 24 bytes on i686, a native
    // std::mutex at most 40); each implementation checks that it fits.
    static constexpr size_t kStorageBytes = 48;
    alignas(void*) unsigned char storage_[kStorageBytes];
};
