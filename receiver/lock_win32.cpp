// The Windows lock: a critical section placed in the lock's storage. Critical sections exist on
// every Windows version the plug-in runs on, and entering one never fails there (XP and later
// pre-allocate the wait event).
#include <windows.h>

#include <new>

#include "receiver/lock.h"

namespace {
CRITICAL_SECTION* Section(unsigned char* storage) {
    return std::launder(reinterpret_cast<CRITICAL_SECTION*>(storage));
}
} // namespace

Lock::Lock() {
    static_assert(sizeof(CRITICAL_SECTION) <= kStorageBytes && alignof(CRITICAL_SECTION) <= alignof(void*));
    InitializeCriticalSection(new (storage_) CRITICAL_SECTION);
}

Lock::~Lock() {
    DeleteCriticalSection(Section(storage_));
}

void Lock::lock() {
    EnterCriticalSection(Section(storage_));
}

void Lock::unlock() {
    LeaveCriticalSection(Section(storage_));
}
