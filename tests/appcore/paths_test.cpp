// The program's folders under the base directories of the environment.

#include "AppPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class PathsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/zel-paths-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        ::setenv("HOME", (root_ + "/home").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root_ + "/config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (root_ + "/data/").c_str(), 1);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    std::string root_;
};

TEST_F(PathsTest, FoldersComeFromTheEnvironmentAndAreCreated) {
    EXPECT_EQ(paths::ConfigFolder(), root_ + "/config/chesszel/");
    EXPECT_EQ(paths::DataFolder(), root_ + "/data/chesszel/") << "one slash between the parts";
    EXPECT_TRUE(fs::is_directory(root_ + "/config/chesszel"));
    EXPECT_TRUE(fs::is_directory(root_ + "/data/chesszel"));
    EXPECT_EQ(paths::SettingsFile(), root_ + "/config/chesszel/Kavrel.ini");
    EXPECT_EQ(paths::SavedGamesFile(), root_ + "/data/chesszel/kavrel.sav");
    EXPECT_FALSE(fs::exists(paths::SettingsFile())) << "only folders are made";
}

TEST_F(PathsTest, UnsetEmptyOrRelativeVariablesFallBackToTheHomeFolder) {
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(paths::ConfigFolder(), root_ + "/home/.config/chesszel/");
    EXPECT_EQ(paths::DataFolder(), root_ + "/home/.local/share/chesszel/");
    EXPECT_TRUE(fs::is_directory(root_ + "/home/.local/share/chesszel"))
        << "missing parents are made too";
    ::setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(paths::ConfigFolder(), root_ + "/home/.config/chesszel/");
    EXPECT_FALSE(fs::exists("relative"));
}

TEST_F(PathsTest, AFolderThatCannotBeMadeIsStillNamed) {
    const std::string blocker = root_ + "/file";
    std::fclose(std::fopen(blocker.c_str(), "w"));
    ::setenv("XDG_CONFIG_HOME", blocker.c_str(), 1);
    EXPECT_EQ(paths::SettingsFile(), blocker + "/chesszel/Kavrel.ini");
    EXPECT_TRUE(fs::is_regular_file(blocker));
}

} // namespace
