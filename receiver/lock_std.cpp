// The native build's lock: a std::mutex placed in the lock's storage.
#include <mutex>
#include <new>

#include "receiver/lock.h"

namespace {
std::mutex& Mutex(unsigned char* storage) {
    return *std::launder(reinterpret_cast<std::mutex*>(storage));
}
} // namespace

Lock::Lock() {
    static_assert(sizeof(std::mutex) <= kStorageBytes && alignof(std::mutex) <= alignof(void*));
    new (storage_) std::mutex();
}

Lock::~Lock() {
    Mutex(storage_).~mutex();
}

void Lock::lock() {
    Mutex(storage_).lock();
}

void Lock::unlock() {
    Mutex(storage_).unlock();
}
