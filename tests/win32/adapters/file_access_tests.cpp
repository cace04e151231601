#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "adapters/win32_test_support.h"
#include "win32/file_access.h"
#include "win32/gbk_convert.h"
#include "win32/handles.h"

namespace keyvora::win32 {
namespace {

using testing::ScratchFolder;

// 脚本\测试.ini, so the paths cross the GBK conversion too.
const std::string kFolderName = "\xBD\xC5\xB1\xBE";
const std::string kFileName = "\xB2\xE2\xCA\xD4.ini";
const std::string kScript =
    "\xB0\xB4\xBC\xFC\xA3\xBA\xBB\xD8\xB3\xB5\xBC\xFC\xD8\xAD"
    "1000\r\n";  // 按键：回车键丨1000

class FileAccess : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = to_gbk(scratch_.path()) + kFolderName + "\\";
        ASSERT_TRUE(::CreateDirectoryW(to_wide(folder_).c_str(), nullptr));
        path_ = folder_ + kFileName;
    }

    std::vector<std::wstring> folder_entries() const { return ScratchFolder::entries(to_wide(folder_)); }

    ScratchFolder scratch_;
    std::string folder_;
    std::string path_;
};

TEST_F(FileAccess, ReadsBackWhatWasWrittenByteForByte) {
    const std::string cases[] = {"", kScript, std::string("a\0b\r\n\xFF", 6)};
    for (const std::string& bytes : cases) {
        ASSERT_TRUE(write_whole_file_atomically(path_, bytes));
        const auto read = read_whole_file(path_);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(bytes, *read);
    }
    EXPECT_TRUE(file_exists(path_));
    EXPECT_EQ(std::vector<std::wstring>{to_wide(kFileName)}, folder_entries());
}

TEST_F(FileAccess, ReadsAFileLargerThanFiftyMegabytes) {
    std::string bytes(60u << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 4096);
    ASSERT_TRUE(write_whole_file_atomically(path_, bytes));
    const auto read = read_whole_file(path_);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(bytes.size(), read->size());
    EXPECT_TRUE(bytes == *read);
}

TEST_F(FileAccess, ReadGivesNothingForAMissingFileOrAFolder) {
    EXPECT_FALSE(read_whole_file(path_).has_value());
    EXPECT_FALSE(read_whole_file(folder_ + "missing\\" + kFileName).has_value());
    EXPECT_FALSE(read_whole_file("").has_value());
    EXPECT_FALSE(file_exists(path_));
    EXPECT_FALSE(file_exists(folder_.substr(0, folder_.size() - 1)));  // a folder is no file
}

TEST_F(FileAccess, SaveReplacesAnExistingFileAndLeavesNoTemporaryFile) {
    ASSERT_TRUE(write_whole_file_atomically(path_, std::string(10000, 'x')));
    ASSERT_TRUE(write_whole_file_atomically(path_, kScript));
    EXPECT_EQ(kScript, read_whole_file(path_).value_or("<unreadable>"));
    EXPECT_EQ(std::vector<std::wstring>{to_wide(kFileName)}, folder_entries());
}

TEST_F(FileAccess, FailedSaveLeavesTheOldFileWholeAndNoTemporaryFile) {
    ASSERT_TRUE(write_whole_file_atomically(path_, kScript));

    EXPECT_FALSE(write_whole_file_atomically(folder_ + "missing\\" + kFileName, "new"));
    EXPECT_FALSE(write_whole_file_atomically(folder_, "new"));  // a folder path names no file

    const std::wstring wide_path = to_wide(path_);
    ASSERT_TRUE(::SetFileAttributesW(wide_path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(write_whole_file_atomically(path_, "new"));
    ::SetFileAttributesW(wide_path.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(kScript, read_whole_file(path_).value_or("<unreadable>"));
    EXPECT_EQ(std::vector<std::wstring>{to_wide(kFileName)}, folder_entries());
}

TEST_F(FileAccess, SaveOverAFileHeldOpenWithoutSharingFailsAndCleansUp) {
    ASSERT_TRUE(write_whole_file_atomically(path_, kScript));
    {
        unique_handle held = adopt_file_handle(::CreateFileW(to_wide(path_).c_str(), GENERIC_READ, 0, nullptr,
                                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        EXPECT_FALSE(write_whole_file_atomically(path_, "new"));
        EXPECT_FALSE(read_whole_file(path_).has_value());
    }
    EXPECT_EQ(kScript, read_whole_file(path_).value_or("<unreadable>"));
    EXPECT_EQ(std::vector<std::wstring>{to_wide(kFileName)}, folder_entries());
}

}  // namespace
}  // namespace keyvora::win32
