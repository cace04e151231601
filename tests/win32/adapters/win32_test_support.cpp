#include "adapters/win32_test_support.h"

#include <cstdio>
#include <cwchar>
#include <sstream>

namespace keyvora::win32::testing {


std::wstring program_folder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

namespace {

void remove_tree(const std::wstring& folder) {
    for (const std::wstring& name : ScratchFolder::entries(folder)) {
        const std::wstring path = folder + name;
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            remove_tree(path + L"\\");
        } else {
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path.c_str());
        }
    }
    ::RemoveDirectoryW(folder.c_str());
}

std::string read_shared(const std::wstring& path) {
    unique_handle file = adopt_file_handle(::CreateFileW(path.c_str(), GENERIC_READ,
                                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                         nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    if (!file)
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    return bytes;
}

constexpr std::uint32_t kMarkerKey = 0xE8;  // a virtual-key code no key produces
constexpr std::uint32_t kMarkerLparam = 0x6d61726b;

}  // namespace

ScratchFolder::ScratchFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1];
    ::GetTempPathW(MAX_PATH + 1, temp);
    wchar_t name[64];
    std::swprintf(name, 64, L"kvtest-%lu-%d-%lu\\", ::GetCurrentProcessId(), ++counter, ::GetTickCount());
    path_ = std::wstring(temp) + name;
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    remove_tree(path_);
}

std::vector<std::wstring> ScratchFolder::entries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (std::wcscmp(found.cFileName, L".") != 0 && std::wcscmp(found.cFileName, L"..") != 0)
            names.emplace_back(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

Recorder::Recorder(const std::wstring& caption, const std::wstring& extra_arguments) {
    log_path_ = folder_.path() + L"recorder.log";
    std::wstring command =
        L"\"" + program_folder() + L"recorder.exe\" \"" + log_path_ + L"\" \"" + caption + L"\" " + extra_arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION created{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &created))
        return;
    ::CloseHandle(created.hThread);
    process_.reset(created.hProcess);
    wait_for_line([](const std::string& line) { return line.rfind("hwnd ", 0) == 0; }, 15000);
    const std::vector<std::string> all = lines();
    if (all.empty())
        return;
    long handle = 0;
    unsigned long pid = 0;
    if (std::sscanf(all.front().c_str(), "hwnd %ld pid %lu", &handle, &pid) == 2) {
        window_ = to_hwnd(handle);
        process_id_ = pid;
    }
}

Recorder::~Recorder() {
    if (!process_)
        return;
    DWORD_PTR ignored = 0;
    const bool answers =
        window_ != nullptr && ::SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &ignored) != 0;
    if (answers)
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
    if (!answers || ::WaitForSingleObject(process_.get(), 3000) != WAIT_OBJECT_0)
        ::TerminateProcess(process_.get(), 1);
    ::WaitForSingleObject(process_.get(), 3000);
}

std::vector<std::string> Recorder::lines() const {
    std::vector<std::string> result;
    std::istringstream text(read_shared(log_path_));
    std::string line;
    while (std::getline(text, line))
        result.push_back(line);
    // A line is written whole with its end; one without it is not there yet.
    return result;
}

std::vector<LoggedMessage> Recorder::messages() const {
    std::vector<LoggedMessage> result;
    for (const std::string& line : lines()) {
        long long us = 0;
        char name[32] = {};
        unsigned long wparam = 0, lparam = 0;
        if (std::sscanf(line.c_str(), "%lld %31s 0x%lx 0x%lx", &us, name, &wparam, &lparam) == 4)
            result.push_back(
                LoggedMessage{us, name, static_cast<std::uint32_t>(wparam), static_cast<std::uint32_t>(lparam)});
    }
    return result;
}

bool Recorder::wait_for_line(const std::function<bool(const std::string&)>& condition, DWORD timeout_ms) const {
    const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
    do {
        for (const std::string& line : lines())
            if (condition(line))
                return true;
        ::Sleep(2);
    } while (::GetTickCount64() < deadline);
    return false;
}

std::vector<LoggedMessage> Recorder::messages_until_marker(std::size_t from) const {
    std::vector<LoggedMessage> result;
    if (window_ == nullptr)
        return result;
    const std::size_t markers_before = [&] {
        std::size_t n = 0;
        for (const LoggedMessage& m : messages())
            if (m.name == "WM_KEYUP" && m.wparam == kMarkerKey && m.lparam == kMarkerLparam)
                ++n;
        return n;
    }();
    ::PostMessageW(window_, WM_KEYUP, kMarkerKey, kMarkerLparam);
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (::GetTickCount64() < deadline) {
        const std::vector<LoggedMessage> all = messages();
        std::size_t markers = 0;
        for (std::size_t i = 0; i < all.size(); ++i) {
            const LoggedMessage& m = all[i];
            if (m.name == "WM_KEYUP" && m.wparam == kMarkerKey && m.lparam == kMarkerLparam &&
                ++markers > markers_before) {
                for (std::size_t j = from; j < i; ++j) {
                    const bool is_marker =
                        all[j].name == "WM_KEYUP" && all[j].wparam == kMarkerKey && all[j].lparam == kMarkerLparam;
                    if (!is_marker)
                        result.push_back(all[j]);
                }
                return result;
            }
        }
        ::Sleep(2);
    }
    return result;
}

ProbeWindow::ProbeWindow(Handler handler, HWND parent) : handler_(std::move(handler)) {
    static const ATOM window_class = [] {
        WNDCLASSEXW description{};
        description.cbSize = sizeof(description);
        description.lpfnWndProc = &ProbeWindow::procedure;
        description.hInstance = ::GetModuleHandleW(nullptr);
        description.lpszClassName = L"KeyvoraProbeWindow";
        return ::RegisterClassExW(&description);
    }();
    const DWORD style = parent != nullptr ? WS_CHILD : WS_OVERLAPPED;
    window_ = ::CreateWindowExW(0, MAKEINTATOM(window_class), L"", style, 0, 0, 100, 100, parent, nullptr,
                                ::GetModuleHandleW(nullptr), this);
}

ProbeWindow::~ProbeWindow() {
    if (window_ != nullptr) {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

LRESULT CALLBACK ProbeWindow::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ProbeWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && self->handler_)
        self->handler_(window, message, wparam, lparam);
    return ::DefWindowProcW(window, message, wparam, lparam);
}

void drain_queue() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT)
            ::DispatchMessageW(&message);
    }
}

}  // namespace keyvora::win32::testing
