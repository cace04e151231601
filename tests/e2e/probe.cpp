// probe.exe: prints, as UTF-8 JSON on stdout, what a user could see of the top-level windows of
// this Wine prefix: captions, client sizes, child controls with their texts and states, the entries
// of combo boxes and the rows of list views (read from the other process's memory).
//
//   probe.exe windows [--class NAME] [--title TEXT] [--hwnd N]   visible top-level windows that match
//   probe.exe menu                                                the items of an open popup menu
//   probe.exe pixel X Y                                           the screen colour at X, Y
//   probe.exe hotkey-free                                         whether Home can be registered now
//
// Every message to another process goes through SendMessageTimeoutW, so a hung window cannot
// hang the probe.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "json_text.h"
#include "win32/handles.h"

namespace {

using keyvora::win32::unique_handle;

constexpr UINT kSendTimeoutMs = 1000;
constexpr int kMaxCellChars = 1024;

using keyvora::testing::json_string;
using keyvora::testing::to_utf8;

std::string json_bool(bool value) { return value ? "true" : "false"; }
std::string json_int(long long value) { return std::to_string(value); }

std::optional<LRESULT> send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

std::wstring window_text(HWND window) {
    auto length = send(window, WM_GETTEXTLENGTH, 0, 0);
    if (!length || *length <= 0) return {};
    std::wstring buffer(static_cast<size_t>(*length) + 1, L'\0');
    auto copied = send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(copied ? static_cast<size_t>(*copied) : 0);
    return buffer;
}

std::wstring class_name(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::string json_rect(const RECT& r) {
    return "{\"left\":" + json_int(r.left) + ",\"top\":" + json_int(r.top) + ",\"width\":" +
           json_int(r.right - r.left) + ",\"height\":" + json_int(r.bottom - r.top) + "}";
}

// A block of memory inside another process, freed when it goes out of scope.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool valid() const { return address_ != nullptr; }
    char* address() const { return static_cast<char*>(address_); }
    bool write(size_t offset, const void* data, size_t size) const {
        return WriteProcessMemory(process_, address() + offset, data, size, nullptr) != 0;
    }
    bool read(size_t offset, void* data, size_t size) const {
        return ReadProcessMemory(process_, address() + offset, data, size, nullptr) != 0;
    }

private:
    HANDLE process_;
    void* address_;
};

// The list view's rows, each cell read with LVM_GETITEMTEXTW into a buffer in the owner's memory.
std::string describe_list_view(HWND list) {
    auto count = send(list, LVM_GETITEMCOUNT, 0, 0);
    auto selected = send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    std::string out = ",\"selected\":" + json_int(selected ? static_cast<int>(*selected) : -2);
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    unique_handle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    constexpr size_t text_offset = sizeof(LVITEMW);
    constexpr size_t text_bytes = kMaxCellChars * sizeof(wchar_t);
    std::optional<RemoteBuffer> remote;
    if (process) remote.emplace(process.get(), text_offset + text_bytes);
    if (!count || !remote || !remote->valid()) return out + ",\"rows\":null,\"row_rects\":null";

    out += ",\"rows\":[";
    for (int row = 0; row < static_cast<int>(*count); ++row) {
        out += row == 0 ? "[" : ",[";
        for (int column = 0; column < 2; ++column) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iSubItem = column;
            item.pszText = reinterpret_cast<LPWSTR>(remote->address() + text_offset);
            item.cchTextMax = kMaxCellChars;
            std::vector<wchar_t> text(kMaxCellChars, L'\0');
            bool ok = remote->write(text_offset, text.data(), text_bytes) && remote->write(0, &item, sizeof item);
            auto length = ok ? send(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote->address()))
                             : std::nullopt;
            if (length && remote->read(text_offset, text.data(), text_bytes)) {
                text.back() = L'\0';
                out += (column ? "," : "") + json_string(text.data());
            } else {
                out += column ? ",null" : "null";
            }
        }
        out += "]";
    }
    out += "]";

    // Each row's bounds on the screen, so a test can click a row as a user would.
    out += ",\"row_rects\":[";
    for (int row = 0; row < static_cast<int>(*count); ++row) {
        RECT bounds{LVIR_BOUNDS, 0, 0, 0};
        bool ok = remote->write(0, &bounds, sizeof bounds) &&
                  send(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote->address())).value_or(0) &&
                  remote->read(0, &bounds, sizeof bounds);
        MapWindowPoints(list, HWND_DESKTOP, reinterpret_cast<POINT*>(&bounds), 2);
        out += (row ? "," : "") + (ok ? json_rect(bounds) : std::string("null"));
    }
    return out + "]";
}

std::string describe_combo_box(HWND combo) {
    auto count = send(combo, CB_GETCOUNT, 0, 0);
    auto selected = send(combo, CB_GETCURSEL, 0, 0);
    auto dropped = send(combo, CB_GETDROPPEDSTATE, 0, 0);
    std::string out = ",\"selected\":" + json_int(selected ? static_cast<int>(*selected) : -2);
    out += ",\"dropped\":" + json_bool(dropped && *dropped);
    out += ",\"entries\":[";
    for (int i = 0; count && i < static_cast<int>(*count); ++i) {
        auto length = send(combo, CB_GETLBTEXTLEN, i, 0);
        std::wstring text;
        if (length && *length >= 0) {
            text.assign(static_cast<size_t>(*length) + 1, L'\0');
            auto copied = send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            text.resize(copied && *copied >= 0 ? static_cast<size_t>(*copied) : 0);
        }
        out += (i ? "," : "") + json_string(text);
    }
    return out + "]";
}

std::string describe_control(HWND control, HWND top) {
    RECT screen{};
    GetWindowRect(control, &screen);
    RECT in_parent = screen;
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&in_parent), 2);
    RECT in_top = screen;
    MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&in_top), 2);
    std::wstring kind = class_name(control);
    std::string out = "{\"hwnd\":" + json_int(reinterpret_cast<LONG_PTR>(control));
    out += ",\"class\":" + json_string(kind);
    out += ",\"id\":" + json_int(GetDlgCtrlID(control));
    out += ",\"parent\":" + json_int(reinterpret_cast<LONG_PTR>(GetParent(control)));
    out += ",\"text\":" + json_string(window_text(control));
    out += ",\"enabled\":" + json_bool(IsWindowEnabled(control));
    out += ",\"visible\":" + json_bool(IsWindowVisible(control));
    out += ",\"screen\":" + json_rect(screen) + ",\"in_parent\":" + json_rect(in_parent) +
           ",\"in_top\":" + json_rect(in_top);
    if (_wcsicmp(kind.c_str(), L"SysListView32") == 0) out += describe_list_view(control);
    if (_wcsicmp(kind.c_str(), L"ComboBox") == 0) out += describe_combo_box(control);
    if (_wcsicmp(kind.c_str(), L"msctls_hotkey32") == 0) {
        auto key = send(control, HKM_GETHOTKEY, 0, 0);
        out += ",\"hotkey\":" + json_int(key ? (*key & 0xFFFF) : -1);
    }
    return out + "}";
}

BOOL CALLBACK collect_child(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::string describe_window(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    std::string out = "{\"hwnd\":" + json_int(reinterpret_cast<LONG_PTR>(window));
    out += ",\"pid\":" + json_int(pid);
    out += ",\"class\":" + json_string(class_name(window));
    out += ",\"caption\":" + json_string(window_text(window));
    out += ",\"enabled\":" + json_bool(IsWindowEnabled(window));
    out += ",\"outer\":" + json_rect(outer);
    out += ",\"client\":{\"left\":" + json_int(origin.x) + ",\"top\":" + json_int(origin.y) +
           ",\"width\":" + json_int(client.right) + ",\"height\":" + json_int(client.bottom) + "}";
    out += ",\"owner\":" + json_int(reinterpret_cast<LONG_PTR>(GetWindow(window, GW_OWNER)));

    // The focus belongs to the window's thread; attaching to its input state lets GetFocus see it.
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HWND focus = nullptr;
    if (AttachThreadInput(GetCurrentThreadId(), thread, TRUE)) {
        focus = GetFocus();
        AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
    }
    out += ",\"focus\":" + json_int(reinterpret_cast<LONG_PTR>(focus));

    std::vector<HWND> children;
    EnumChildWindows(window, collect_child, reinterpret_cast<LPARAM>(&children));
    out += ",\"controls\":[";
    for (size_t i = 0; i < children.size(); ++i) out += (i ? "," : "") + describe_control(children[i], window);
    return out + "]}";
}

struct WindowFilter {
    std::wstring class_name;
    std::wstring title;
    bool title_given = false;
    HWND hwnd = nullptr;
};

struct WindowSearch {
    const WindowFilter* filter;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_matching(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    const WindowFilter& filter = *search->filter;
    if (!IsWindowVisible(window)) return TRUE;
    if (filter.hwnd != nullptr && window != filter.hwnd) return TRUE;
    if (!filter.class_name.empty() && _wcsicmp(class_name(window).c_str(), filter.class_name.c_str()) != 0)
        return TRUE;
    if (filter.title_given && window_text(window) != filter.title) return TRUE;
    search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> matching_windows(const WindowFilter& filter) {
    WindowSearch search{&filter, {}};
    EnumWindows(collect_matching, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int print(const std::string& json) {
    std::string line = json + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
    return 0;
}

int command_windows(int argc, wchar_t** argv) {
    WindowFilter filter;
    for (int i = 2; i + 1 < argc; i += 2) {
        std::wstring option = argv[i];
        if (option == L"--class") {
            filter.class_name = argv[i + 1];
        } else if (option == L"--title") {
            filter.title = argv[i + 1];
            filter.title_given = true;
        } else if (option == L"--hwnd") {
            filter.hwnd = reinterpret_cast<HWND>(static_cast<LONG_PTR>(wcstol(argv[i + 1], nullptr, 10)));
        } else {
            std::fprintf(stderr, "unknown option %ls\n", argv[i]);
            return 2;
        }
    }
    std::string out = "[";
    auto windows = matching_windows(filter);
    for (size_t i = 0; i < windows.size(); ++i) out += (i ? "," : "") + describe_window(windows[i]);
    return print(out + "]");
}

// MN_GETHMENU gives the handle of the menu a popup menu window shows; whether its items can be
// read from this process depends on the system, so the answer says whether it worked.
int command_menu() {
    std::string out = "[";
    bool first = true;
    for (HWND popup : matching_windows({L"#32768", L"", false, nullptr})) {
        auto menu_handle = send(popup, 0x01E1 /* MN_GETHMENU */, 0, 0);
        HMENU menu = menu_handle ? reinterpret_cast<HMENU>(*menu_handle) : nullptr;
        int count = menu ? GetMenuItemCount(menu) : -1;
        RECT r{};
        GetWindowRect(popup, &r);
        out += std::string(first ? "" : ",") + "{\"hwnd\":" + json_int(reinterpret_cast<LONG_PTR>(popup)) +
               ",\"screen\":" + json_rect(r) + ",\"readable\":" + json_bool(count >= 0) + ",\"items\":[";
        for (int i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
            UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            out += std::string(i ? "," : "") + "{\"text\":" + json_string(text) +
                   ",\"separator\":" + json_bool(state & MF_SEPARATOR) +
                   ",\"grayed\":" + json_bool(state & (MF_GRAYED | MF_DISABLED)) + "}";
        }
        out += "]}";
        first = false;
    }
    return print(out + "]");
}

int command_pixel(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, _wtoi(argv[2]), _wtoi(argv[3]));
    ReleaseDC(nullptr, screen);
    return print("{\"r\":" + json_int(GetRValue(colour)) + ",\"g\":" + json_int(GetGValue(colour)) +
                 ",\"b\":" + json_int(GetBValue(colour)) + "}");
}

int command_hotkey_free() {
    bool free = RegisterHotKey(nullptr, 1, 0, VK_HOME) != 0;
    if (free) UnregisterHotKey(nullptr, 1);
    return print("{\"home_free\":" + json_bool(free) + "}");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring command = argc > 1 ? argv[1] : L"windows";
    if (command == L"windows") return command_windows(argc, argv);
    if (command == L"menu") return command_menu();
    if (command == L"pixel") return command_pixel(argc, argv);
    if (command == L"hotkey-free") return command_hotkey_free();
    std::fprintf(stderr, "usage: probe.exe windows|menu|pixel X Y|hotkey-free\n");
    return 2;
}
