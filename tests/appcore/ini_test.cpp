// The profile calls against real files in a temporary folder.

#include "IniFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class IniFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/zel-ini-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
        path_ = folder_ + "/Kavrel.ini";
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(folder_, ec);
    }

    void Put(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }
    std::string Contents() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    std::string Read(const std::string& section, const std::string& key) const {
        return ini::ReadString(path_, section, key, "<none>");
    }

    std::string folder_;
    std::string path_;
};

TEST_F(IniFileTest, SettingsWrittenKeyByKeyComeOutInWritingOrder) {
    const char* keys[][2] = {{"Pretas", "1"},       {"Brancas", "0"}, {"Nivel", "1"},
                             {"BrancaEncima", "1"}, {"Skin", "4"},    {"Coordenadas", "0"},
                             {"Linhas", "1"},       {"Som", "1"},     {"Musica", "1"}};
    for (const auto& [key, value] : keys)
        ASSERT_TRUE(ini::WriteString(path_, "Config", key, value));
    const std::string expected = "[Config]\nPretas=1\nBrancas=0\nNivel=1\nBrancaEncima=1\n"
                                 "Skin=4\nCoordenadas=0\nLinhas=1\nSom=1\nMusica=1\n";
    EXPECT_EQ(Contents(), expected);
    // Writing them all again, in any spelling, changes nothing.
    for (const auto& [key, value] : keys)
        ASSERT_TRUE(ini::WriteString(path_, "config", key, value));
    EXPECT_EQ(Contents(), expected);
}

TEST_F(IniFileTest, MissingFileSectionOrKeyGiveTheDefault) {
    EXPECT_EQ(Read("Config", "Pretas"), "<none>");
    EXPECT_TRUE(ini::ReadKeys(path_, "Config").empty());
    EXPECT_TRUE(ini::DeleteKey(path_, "Config", "Pretas"));
    EXPECT_FALSE(fs::exists(path_)) << "deleting from a missing file creates nothing";

    Put("[Other]\nPretas=1\n[Config]\nBrancas=0\n");
    EXPECT_EQ(Read("Config", "Pretas"), "<none>");
    EXPECT_EQ(Read("Missing", "Brancas"), "<none>");
}

TEST_F(IniFileTest, NamesCompareWithoutCaseAndSurroundingBlanks) {
    Put("[ConFig]\n  PRETAS  =  1  \n[ sAvE ]\nGame0=x\n");
    EXPECT_EQ(Read("config", "pretas"), "1");
    EXPECT_EQ(Read(" CONFIG ", " Pretas"), "1");
    EXPECT_EQ(Read("Save", "GAME0"), "x");
    EXPECT_EQ(Read("Config", "Game0"), "<none>") << "a key of one section is not in another";

    // Replacing keeps the spelling found in the file and the line's place.
    ASSERT_TRUE(ini::WriteString(path_, "CONFIG", "pretas", "0"));
    EXPECT_EQ(Contents(), "[ConFig]\nPRETAS=0\n[ sAvE ]\nGame0=x\n");
}

TEST_F(IniFileTest, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEndOfTheFile) {
    Put("; settings\n[save]\nGame0=a\n\n[Game]\na=pos\n\n");
    ASSERT_TRUE(ini::WriteString(path_, "Save", "Game5", "b"));
    ASSERT_TRUE(ini::WriteString(path_, "Game", "b", "pos2"));
    ASSERT_TRUE(ini::WriteString(path_, "Extra", "k", "v"));
    ASSERT_TRUE(ini::WriteString(path_, "Fourth", "k", "v"));
    EXPECT_EQ(Contents(), "; settings\n[save]\nGame0=a\nGame5=b\n\n[Game]\na=pos\nb=pos2\n\n"
                          "[Extra]\nk=v\n\n[Fourth]\nk=v\n");
    EXPECT_EQ(ini::ReadKeys(path_, "save"), (std::vector<std::string>{"Game0", "Game5"}));
}

TEST_F(IniFileTest, LinesItDoesNotUnderstandAreKept) {
    const std::string before = "loose=1\n[Config]\n; comment=not a key\nno equals sign\n"
                               "[broken header\nSom=1\n\t\n\x01\xff\xfe=odd\n[Other]\nSom=7\n";
    Put(before);
    EXPECT_EQ(Read("Config", "loose"), "<none>") << "keys before any header are in no section";
    EXPECT_EQ(Read("Config", "; comment"), "<none>");
    EXPECT_EQ(ini::ReadKeys(path_, "Config"), (std::vector<std::string>{"Som", "\x01\xff\xfe"}));
    ASSERT_TRUE(ini::WriteString(path_, "Config", "Som", "0"));
    std::string after = before;
    after.replace(after.find("Som=1"), 5, "Som=0");
    EXPECT_EQ(Contents(), after);
    EXPECT_EQ(Read("Other", "Som"), "7");
}

TEST_F(IniFileTest, DuplicatesTheFirstIsReadAndReplacedAndDeletionRemovesAll) {
    Put("[A]\nk=1\nK=2\nj=3\n[a]\nk=4\n");
    EXPECT_EQ(Read("a", "k"), "1");
    EXPECT_EQ(ini::ReadKeys(path_, "A"), (std::vector<std::string>{"k", "j"}));
    ASSERT_TRUE(ini::WriteString(path_, "A", "k", "9"));
    EXPECT_EQ(Contents(), "[A]\nk=9\nK=2\nj=3\n[a]\nk=4\n");
    ASSERT_TRUE(ini::DeleteKey(path_, "a", "K"));
    EXPECT_EQ(Contents(), "[A]\nj=3\n[a]\nk=4\n");
    EXPECT_EQ(Read("A", "k"), "<none>");
    ASSERT_TRUE(ini::DeleteKey(path_, "A", "nothing"));
    EXPECT_EQ(Contents(), "[A]\nj=3\n[a]\nk=4\n");
}

TEST_F(IniFileTest, CrlfFilesAreReadAndKeepTheirLineEndings) {
    Put("\xEF\xBB\xBF[Config]\r\nSom=1\r\nMusica=0\r\n");
    EXPECT_EQ(Read("Config", "Som"), "1");
    EXPECT_EQ(Read("Config", "Musica"), "0");
    ASSERT_TRUE(ini::WriteString(path_, "Config", "Som", "0"));
    ASSERT_TRUE(ini::WriteString(path_, "Config", "Linhas", "1"));
    EXPECT_EQ(Contents(), "\xEF\xBB\xBF[Config]\r\nSom=0\r\nMusica=0\r\nLinhas=1\r\n");
}

TEST_F(IniFileTest, MixedLineEndingsComeBackByteForByte) {
    // A damaged save file: CRLF and LF lines mixed, a lone CR inside a line, no ending on
    // the last line.
    const std::string before = "[save]\r\nGame0=a\nGame1=b\r\n\n[Game]\r\nb=x\ry\r\n"
                               "a=\"rnbqkbnr\"\nc=1\r";
    Put(before);
    ASSERT_TRUE(ini::WriteString(path_, "save", "Game1", "c"));
    EXPECT_EQ(Contents(), "[save]\r\nGame0=a\nGame1=c\r\n\n[Game]\r\nb=x\ry\r\n"
                          "a=\"rnbqkbnr\"\nc=1\r");
    // New lines take the file's ending (its first line's); the line that had none gets one
    // once another follows it.
    ASSERT_TRUE(ini::WriteString(path_, "Game", "d", "2"));
    ASSERT_TRUE(ini::WriteString(path_, "save", "Game2", "d"));
    EXPECT_EQ(Contents(), "[save]\r\nGame0=a\nGame1=c\r\nGame2=d\r\n\n[Game]\r\nb=x\ry\r\n"
                          "a=\"rnbqkbnr\"\nc=1\r\r\nd=2\r\n");
    ASSERT_TRUE(ini::DeleteKey(path_, "save", "Game0"));
    EXPECT_EQ(Contents(), "[save]\r\nGame1=c\r\nGame2=d\r\n\n[Game]\r\nb=x\ry\r\n"
                          "a=\"rnbqkbnr\"\nc=1\r\r\nd=2\r\n");
    EXPECT_EQ(Read("Game", "c"), "1");
}

TEST_F(IniFileTest, AWriteRemovesTemporaryFilesOfKilledWrites) {
    Put("[Config]\nSom=1\n");
    // A process that has ended: a child that exits at once, reaped.
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ASSERT_GT(gone, 0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = folder_ + "/.Kavrel.ini.tmp" + std::to_string(gone) + "-0";
    const std::string running = folder_ + "/.Kavrel.ini.tmp1-3";     // pid 1 runs
    const std::string other = folder_ + "/.Other.ini.tmp" + std::to_string(gone) + "-0";
    const std::string mine = folder_ + "/.Kavrel.ini.tmp" + std::to_string(gone) + "-0x";
    for (const std::string& name : {stale, running, other, mine})
        std::ofstream(name) << "[Config]\n";
    ASSERT_TRUE(ini::WriteString(path_, "Config", "Som", "0"));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running)) << "a write of a running process";
    EXPECT_TRUE(fs::exists(other)) << "another file's";
    EXPECT_TRUE(fs::exists(mine)) << "not a name of ours";
    EXPECT_EQ(Contents(), "[Config]\nSom=0\n");
}

TEST_F(IniFileTest, ValuesLoseSurroundingBlanksThenOnePairOfQuotes) {
    Put("[S]\na=  plain text \t\nb=\"  kept blanks  \"\nc=\"\"x\"\"\nd=\"\ne=\"open\nf=\n"
        "g= \" spaced \" \nh=a=b\n");
    EXPECT_EQ(Read("S", "a"), "plain text");
    EXPECT_EQ(Read("S", "b"), "  kept blanks  ");
    EXPECT_EQ(Read("S", "c"), "\"x\"");
    EXPECT_EQ(Read("S", "d"), "\"");
    EXPECT_EQ(Read("S", "e"), "\"open");
    EXPECT_EQ(Read("S", "f"), "");
    EXPECT_EQ(Read("S", "g"), " spaced ");
    EXPECT_EQ(Read("S", "h"), "a=b");

    // A quoted position with empty corner squares comes back with all its characters.
    const std::string position = " nbqkbn" + std::string(49, ' ') + "RNBQKBN ";
    ASSERT_TRUE(ini::WriteString(path_, "Game", "Game1", "\"" + position + "\""));
    EXPECT_EQ(Read("Game", "Game1"), position);
}

TEST_F(IniFileTest, AtMost2047CharactersOfAValueAreSeen) {
    const std::string exact(2047, 'x');
    ASSERT_TRUE(ini::WriteString(path_, "S", "exact", exact));
    ASSERT_TRUE(ini::WriteString(path_, "S", "long", std::string(5000, 'y')));
    EXPECT_EQ(Read("S", "exact"), exact);
    EXPECT_EQ(Read("S", "long"), std::string(2047, 'y'));
    EXPECT_NE(Contents().find(std::string(5000, 'y')), std::string::npos)
        << "the file keeps the whole value";
}

TEST_F(IniFileTest, AFailedWriteLeavesTheFileAsItWas) {
    Put("[Config]\nSom=1\n");
    // Line breaks and NULs would split or cut the line.
    EXPECT_FALSE(ini::WriteString(path_, "Config", "Som", "two\nlines"));
    EXPECT_FALSE(ini::WriteString(path_, "Config", "Som\r", "0"));
    EXPECT_FALSE(ini::WriteString(path_, "Config", "Som", std::string("0\0", 2)));
    EXPECT_EQ(Contents(), "[Config]\nSom=1\n");

    // A parent that is a regular file stops every write, whoever runs the test.
    const std::string under_file = path_ + "/inner.ini";
    EXPECT_FALSE(ini::WriteString(under_file, "Config", "Som", "0"));
    EXPECT_FALSE(ini::DeleteKey(under_file, "Config", "Som")) << "cannot tell the file is gone";
    EXPECT_EQ(ini::ReadString(under_file, "Config", "Som", "d"), "d");
    EXPECT_EQ(Contents(), "[Config]\nSom=1\n");

    // A folder in place of the file is neither read nor replaced.
    const std::string folder_path = folder_ + "/dir.ini";
    fs::create_directory(folder_path);
    EXPECT_FALSE(ini::WriteString(folder_path, "Config", "Som", "0"));
    EXPECT_TRUE(fs::is_directory(folder_path));

    // A read-only folder (only when permissions apply to this user).
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(folder_.c_str(), W_OK) != 0) {
        EXPECT_FALSE(ini::WriteString(path_, "Config", "Som", "0"));
        EXPECT_FALSE(ini::DeleteKey(path_, "Config", "Som"));
        EXPECT_EQ(Contents(), "[Config]\nSom=1\n");
    }
}

TEST_F(IniFileTest, WritingLeavesNoTemporaryFileAndKeepsPermissionsAndLinks) {
    Put("[Config]\nSom=1\n");
    ::chmod(path_.c_str(), 0640);
    const std::string link = folder_ + "/link.ini";
    fs::create_symlink(path_, link);
    ASSERT_TRUE(ini::WriteString(link, "Config", "Som", "0"));
    ASSERT_TRUE(ini::WriteString(path_, "Config", "Musica", "1"));
    ASSERT_TRUE(ini::DeleteKey(link, "Config", "Musica"));

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Contents(), "[Config]\nSom=0\n");
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder_))
        ++entries;
    EXPECT_EQ(entries, 2) << "only the file and the link";
}

} // namespace
