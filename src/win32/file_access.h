// Whole-file reading and writing of script files; paths are GBK texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keyvora::win32 {

// All bytes of the file (others may read, not write, meanwhile); nothing when it cannot be read.
std::optional<std::string> read_whole_file(std::string_view gbk_path);

// Writes a temporary file in the same folder and moves it over the target in one step, so a
// failed or interrupted save leaves the previous file whole. False when nothing was replaced.
bool write_whole_file_atomically(std::string_view gbk_path, std::string_view bytes);

bool file_exists(std::string_view gbk_path);

}  // namespace keyvora::win32
