#include "win32/file_access.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cwchar>

#include "win32/gbk_convert.h"
#include "win32/handles.h"

namespace keyvora::win32 {
namespace {

// ReadFile and WriteFile take a DWORD count; whole files go through in pieces of this size.
constexpr DWORD kChunkBytes = 8u << 20;

bool is_separator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// The folder part of a path, with its trailing separator; empty for a bare file name.
std::wstring folder_of(const std::wstring& path) {
    const auto last = std::find_if(path.rbegin(), path.rend(), [](wchar_t c) { return is_separator(c) || c == L':'; });
    return std::wstring(path.begin(), last.base());
}

// Creates a new, empty file with a name no one else uses, in the given folder; the name is
// written to temp_path. Nothing when the folder cannot take a file.
unique_handle create_temp_file_beside(const std::wstring& folder, std::wstring& temp_path) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[64];
        std::swprintf(name, 64, L"~kv%lx-%x.tmp", static_cast<unsigned long>(::GetCurrentProcessId()),
                      counter.fetch_add(1) ^ (::GetTickCount() << 8));
        temp_path = folder + name;
        unique_handle file = adopt_file_handle(
            ::CreateFileW(temp_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file)
            return file;
        if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    temp_path.clear();
    return nullptr;
}

bool write_all(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunkBytes));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), piece, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool is_read_only(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace

std::optional<std::string> read_whole_file(std::string_view gbk_path) {
    const std::wstring path = to_wide(gbk_path);
    if (path.empty())
        return std::nullopt;
    unique_handle file = adopt_file_handle(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0)
        return std::nullopt;
    if (static_cast<std::uint64_t>(size.QuadPart) > std::string().max_size())
        return std::nullopt;

    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return std::nullopt;  // larger than this process can hold
    }
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, kChunkBytes));
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data() + filled, piece, &got, nullptr))
            return std::nullopt;
        if (got == 0)
            break;  // the end came sooner than the size said
        filled += got;
    }
    bytes.resize(filled);
    return bytes;
}

bool write_whole_file_atomically(std::string_view gbk_path, std::string_view bytes) {
    const std::wstring path = to_wide(gbk_path);
    if (path.empty() || is_separator(path.back()))
        return false;
    // MoveFileExW would not replace a read-only file on Windows; refuse it the same way everywhere
    // before anything is written.
    if (is_read_only(path))
        return false;

    std::wstring temp_path;
    unique_handle temp = create_temp_file_beside(folder_of(path), temp_path);
    if (!temp)
        return false;
    const bool written = write_all(temp.get(), bytes) && ::FlushFileBuffers(temp.get());
    temp.reset();  // closed before the move: an open file cannot take the target's place
    if (written && ::MoveFileExW(temp_path.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(temp_path.c_str());
    return false;
}

bool file_exists(std::string_view gbk_path) {
    const std::wstring path = to_wide(gbk_path);
    if (path.empty())
        return false;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace keyvora::win32
