// GoogleTest's start signal for its threads, on a Win32 event. Debian's mingw-w64 uses the win32
// thread model, whose libstdc++ has no std::mutex or std::condition_variable, the pieces of
// GoogleTest's own version; this one is put in its place for every test program built here.
#pragma once

#include <windows.h>

namespace testing::internal {

class Notification {
  public:
    Notification() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { ::CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { ::SetEvent(event_); }
    void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

  private:
    HANDLE event_;
};

}  // namespace testing::internal
