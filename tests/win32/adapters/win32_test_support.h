// Helpers of the adapter tests: a recorder target in a second process, scratch folders, hidden
// windows of this thread that note what they receive, and the shared microsecond clock.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "qpc_clock.h"
#include "win32/handles.h"

namespace keyvora::win32::testing {

// The recorder's log clock.
using keyvora::testing::now_us;

// The folder this test program lives in, with a trailing backslash.
std::wstring program_folder();

// A fresh, empty folder under the temporary folder; removed with its contents at the end.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& path() const { return path_; }  // with a trailing backslash
    // The names of the entries in a folder, "." and ".." left out.
    static std::vector<std::wstring> entries(const std::wstring& folder);

  private:
    std::wstring path_;
};

struct LoggedMessage {
    std::int64_t us = 0;
    std::string name;
    std::uint32_t wparam = 0;
    std::uint32_t lparam = 0;
};

// recorder.exe, started as a second process and ended when this object goes.
class Recorder {
  public:
    explicit Recorder(const std::wstring& caption = L"Keyvora Recorder", const std::wstring& extra_arguments = L"");
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    bool ready() const { return window_ != nullptr; }
    HWND window() const { return window_; }
    DWORD process_id() const { return process_id_; }

    // Every message logged so far, in arrival order.
    std::vector<LoggedMessage> messages() const;
    // True once a line "<us> <word>" or a message line satisfying the condition is logged.
    bool wait_for_line(const std::function<bool(const std::string&)>& condition, DWORD timeout_ms) const;
    // Posts a marker message and waits until it is logged: everything posted before it has then
    // been logged too. Returns the messages before the marker that came after `from` (an index).
    std::vector<LoggedMessage> messages_until_marker(std::size_t from = 0) const;

  private:
    std::vector<std::string> lines() const;

    std::wstring log_path_;
    ScratchFolder folder_;
    unique_handle process_;
    HWND window_ = nullptr;
    DWORD process_id_ = 0;
};

// A hidden top-level window of this thread whose procedure reports each message to a callback.
class ProbeWindow {
  public:
    using Handler = std::function<void(HWND, UINT, WPARAM, LPARAM)>;
    explicit ProbeWindow(Handler handler, HWND parent = nullptr);
    ~ProbeWindow();
    ProbeWindow(const ProbeWindow&) = delete;
    ProbeWindow& operator=(const ProbeWindow&) = delete;

    HWND get() const { return window_; }

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    Handler handler_;
    HWND window_ = nullptr;
};

// Takes every message of this thread's queue, WM_QUIT included, so a test leaves no trace.
void drain_queue();

}  // namespace keyvora::win32::testing
