#pragma once
#include <windows.h>

// The process's view of the shared block and the mutex that guards it (internal to the store).
unsigned char* sharedView(); // nullptr while the store is closed
HANDLE sharedMutex();

// Holds the store's mutex; an abandoned mutex (its owner died) counts as acquired.
class SharedLock {
  public:
    SharedLock();
    ~SharedLock();
    SharedLock(const SharedLock&) = delete;
    SharedLock& operator=(const SharedLock&) = delete;

  private:
    bool held_ = false;
};
