#pragma once
#include <windows.h>

// Holds a store's mutex (SharedStore::mutex()); an abandoned mutex (its owner died) counts as
// acquired. Without a mutex (the store is closed) it holds nothing.
class SharedLock {
  public:
    explicit SharedLock(HANDLE mutex);
    ~SharedLock();
    SharedLock(const SharedLock&) = delete;
    SharedLock& operator=(const SharedLock&) = delete;

  private:
    HANDLE mutex_;
    bool held_ = false;
};
