#pragma once
#include <windows.h>

#include <ole2.h>

// OLE on the calling thread, the GUI thread, for the lifetime of the object: the picture loader
// that reads the skin's GIF and JPEG images needs it. Released only when it was taken.
class COleSession {
  public:
    COleSession() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~COleSession() {
        if (initialized_) OleUninitialize();
    }
    COleSession(const COleSession&) = delete;
    COleSession& operator=(const COleSession&) = delete;

  private:
    bool initialized_;
};
