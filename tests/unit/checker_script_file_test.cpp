// What the checker reads as a script: a readable regular file only. Anything else is
// refused with a one-line reason, never checked as if it were an empty script.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tools/checker/script_file.h"

namespace {

namespace fs = std::filesystem;

class CheckerScriptFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("checker_script_file_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_ / "locked.inf", fs::perms::owner_all, ignored);
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

TEST_F(CheckerScriptFile, ReadsAFileWholeWithItsBytesUntouched) {
    const std::string bytes("[OPTIONS]\r\n\0\x82\xa0\r\n", 15);
    std::ofstream(dir_ / "T.INF", std::ios::binary) << bytes;
    std::string got = "garbage", reason = "garbage";
    ASSERT_TRUE(checker::ReadScriptFile((dir_ / "T.INF").string(), &got, &reason)) << reason;
    EXPECT_EQ(got, bytes);
}

TEST_F(CheckerScriptFile, RefusesWhatIsNoReadableFile) {
    std::ofstream(dir_ / "locked.inf") << "[OPTIONS]\r\n";
    fs::permissions(dir_ / "locked.inf", fs::perms::none);
    const bool rootReadsAnyway = std::ifstream(dir_ / "locked.inf").good();
    struct Case {
        fs::path path;
        const char* reason;
    } cases[] = {
        {dir_, "is a folder"},
        {dir_ / "MISSING.INF", "no such file"},
        {dir_ / "locked.inf", "permission denied"},
    };
    for (const Case& c : cases) {
        if (c.path == dir_ / "locked.inf" && rootReadsAnyway) continue;  // root ignores permissions
        std::string got = "garbage", reason;
        EXPECT_FALSE(checker::ReadScriptFile(c.path.string(), &got, &reason)) << c.path;
        EXPECT_EQ(reason, c.reason) << c.path;
        EXPECT_EQ(reason.find('\n'), std::string::npos);
    }
}

}  // namespace
