// The saved positions file: places, names and positions, as written and as read back from
// files of every kind, including damaged and unwritable ones.

#include "SavedGames.h"

#include "IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kStart = "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";
// a8 and h1 empty: the value begins and ends with a blank.
const std::string kBlankCorners =
    " nbqkbnrpppppppp                                PPPPPPPPRNBQKBN ";
const std::string kEndgame = std::string(4, ' ') + "k" + std::string(55, ' ') + "K" + "  " + "R";

class SavedGamesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/zel-saved-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        path_ = root_ + "/kavrel.sav";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    void WriteFile(const std::string& bytes) const {
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    std::string FileText() const {
        std::ostringstream out;
        out << std::ifstream(path_, std::ios::binary).rdbuf();
        return out.str();
    }
    saved::TSavedGames Store() const { return saved::TSavedGames(path_); }

    std::string root_;
    std::string path_;
};

TEST_F(SavedGamesTest, AMissingFileHasTwentyEmptyPlaces) {
    const auto store = Store();
    for (const auto& name : store.SlotNames())
        EXPECT_FALSE(name.has_value());
    EXPECT_TRUE(store.UsedPlaces().empty());
    EXPECT_FALSE(store.PositionOf("Game1"));
    EXPECT_EQ(saved::SlotKey(0), "Game0");
    EXPECT_EQ(saved::SlotKey(19), "Game19");
    EXPECT_EQ(saved::SuggestedName(2), "Game3");
    EXPECT_EQ(saved::SuggestedName(19), "Game20");
}

TEST_F(SavedGamesTest, AFirstSaveWritesThePlaceUnderSaveThenThePosition) {
    auto store = Store();
    ASSERT_TRUE(store.Save(2, "Game3", kStart));
    EXPECT_EQ(FileText(), "[save]\nGame2=Game3\n\n[Game]\nGame3=" + kStart + "\n");
    EXPECT_EQ(store.SlotNames()[2], "Game3");
    EXPECT_EQ(store.PositionOf("Game3"), kStart);
    EXPECT_EQ(store.PositionOf("GAME3"), kStart) << "names are keys: any case finds them";
}

TEST_F(SavedGamesTest, PositionsWithBlankCornersComeBackWhole) {
    auto store = Store();
    ASSERT_TRUE(store.Save(0, "Corners", kBlankCorners));
    ASSERT_TRUE(store.Save(1, "Endgame", kEndgame));
    ASSERT_TRUE(store.Save(2, "Start", kStart));
    EXPECT_EQ(store.PositionOf("Corners"), kBlankCorners);
    EXPECT_EQ(store.PositionOf("Endgame"), kEndgame);
    EXPECT_EQ(store.PositionOf("Start"), kStart);
    EXPECT_NE(FileText().find("Corners=\"" + kBlankCorners + "\"\n"), std::string::npos);
    EXPECT_NE(FileText().find("Start=" + kStart + "\n"), std::string::npos)
        << "a value without blank ends is written as it is";
}

TEST_F(SavedGamesTest, FilesWrittenWithoutQuotesStillRead) {
    WriteFile("[Save]\r\nGame0=Old game\r\nGame7 = Spaced \r\n[GAME]\r\nold game=" + kStart +
              "\r\nSpaced=\"" + kBlankCorners + "\"\r\n");
    const auto store = Store();
    const auto used = store.UsedPlaces();
    ASSERT_EQ(used.size(), 2u);
    EXPECT_EQ(used[0].Place, 0);
    EXPECT_EQ(used[0].Name, "Old game");
    EXPECT_EQ(used[1].Place, 7);
    EXPECT_EQ(used[1].Name, "Spaced");
    EXPECT_EQ(store.PositionOf("Old game"), kStart);
    EXPECT_EQ(store.PositionOf("Spaced"), kBlankCorners);
}

TEST_F(SavedGamesTest, NamesThatWouldBreakTheFileAreRefused) {
    for (const std::string& bad : std::vector<std::string>{
             "", "a=b", "[x", "x]", "semi;colon", "two\nlines", "cr\rhere", "tab\tinside",
             " leading", "trailing ", std::string(ini::kMaxValueLength + 1, 'n')}) {
        std::string reason;
        EXPECT_FALSE(saved::NameIsValid(bad, &reason)) << '"' << bad << '"';
        EXPECT_FALSE(reason.empty()) << '"' << bad << '"';
    }
    for (const std::string& good :
         std::vector<std::string>{"Game1", "my best game", "\"quoted\"", "Ruy López", "a-b.c",
                                  std::string(ini::kMaxValueLength, 'n')})
        EXPECT_TRUE(saved::NameIsValid(good)) << '"' << good << '"';

    auto store = Store();
    ASSERT_TRUE(store.Save(0, "Kept", kStart));
    const std::string before = FileText();
    EXPECT_FALSE(store.Save(1, "a=b", kEndgame));
    EXPECT_FALSE(store.Save(1, " Kept", kEndgame));
    EXPECT_FALSE(store.Save(20, "Fine", kEndgame));
    EXPECT_FALSE(store.Save(-1, "Fine", kEndgame));
    EXPECT_FALSE(store.Save(1, "Fine", "too short"));
    EXPECT_EQ(FileText(), before) << "a refused save writes nothing";
}

TEST_F(SavedGamesTest, NamesAroundWhichAReaderStripsComeBackAsThemselves) {
    auto store = Store();
    const std::string longest(ini::kMaxValueLength, 'n');
    ASSERT_TRUE(store.Save(0, "\"quoted\"", kStart));
    ASSERT_TRUE(store.Save(1, "\"half", kEndgame));
    ASSERT_TRUE(store.Save(2, longest, kBlankCorners));
    const auto names = store.SlotNames();
    EXPECT_EQ(names[0], "\"quoted\"");
    EXPECT_EQ(names[1], "\"half");
    EXPECT_EQ(names[2], longest);
    EXPECT_EQ(store.PositionOf("\"quoted\""), kStart);
    EXPECT_EQ(store.PositionOf("\"half"), kEndgame);
    EXPECT_EQ(store.PositionOf(longest), kBlankCorners);
}

TEST_F(SavedGamesTest, DeletingAPlaceRemovesItsNameAndPosition) {
    auto store = Store();
    ASSERT_TRUE(store.Save(0, "First", kStart));
    ASSERT_TRUE(store.Save(5, "Sixth", kEndgame));
    const auto used = store.UsedPlaces();
    ASSERT_EQ(used.size(), 2u);
    EXPECT_EQ(used[1].Place, 5);

    ASSERT_TRUE(store.DeletePlace(5));
    EXPECT_FALSE(store.SlotNames()[5]);
    EXPECT_EQ(ini::ReadString(path_, "Save", "Game5", "missing"), "missing");
    EXPECT_EQ(ini::ReadString(path_, "Game", "Sixth", "missing"), "missing");
    EXPECT_EQ(store.SlotNames()[0], "First");
    EXPECT_EQ(store.PositionOf("First"), kStart);

    EXPECT_TRUE(store.DeletePlace(5)) << "an empty place is already as asked";
    EXPECT_FALSE(store.DeletePlace(20));
}

TEST_F(SavedGamesTest, PlacesWithOneNameShareItsPositionUntilTheLastGoes) {
    auto store = Store();
    ASSERT_TRUE(store.Save(1, "Shared", kStart));
    EXPECT_FALSE(store.NameUsedElsewhere(1, "Shared")) << "its own place is not another";
    EXPECT_TRUE(store.NameUsedElsewhere(4, "Shared"));
    EXPECT_TRUE(store.NameUsedElsewhere(4, "SHARED")) << "keys compare in any case";
    EXPECT_FALSE(store.NameUsedElsewhere(4, "Shared2"));

    // The later save replaces the shared position for both places.
    ASSERT_TRUE(store.Save(4, "SHARED", kEndgame));
    EXPECT_EQ(store.PositionOf("Shared"), kEndgame);

    ASSERT_TRUE(store.DeletePlace(1));
    EXPECT_EQ(store.PositionOf("SHARED"), kEndgame) << "place 4 still names it";
    ASSERT_TRUE(store.DeletePlace(4));
    EXPECT_FALSE(store.PositionOf("Shared"));
}

TEST_F(SavedGamesTest, RenamingAPlaceKeepsTheOldPositionEntry) {
    auto store = Store();
    ASSERT_TRUE(store.Save(3, "Before", kStart));
    ASSERT_TRUE(store.Save(3, "After", kEndgame));
    EXPECT_EQ(store.SlotNames()[3], "After");
    EXPECT_EQ(store.PositionOf("After"), kEndgame);
    EXPECT_EQ(store.PositionOf("Before"), kStart);
}

TEST_F(SavedGamesTest, ADamagedFileOpensAsFarAsItCanBeRead) {
    std::string bytes = "\xEF\xBB\xBF[Save]\nGame0=Good\nGame1=Short\nGame2=Letters\n"
                        "Game3=\nGame4=NoEntry\ngarbage line\n\x01\x02\xFF\xFE=\n"
                        "Game19=Last\n[Game]\nGood=" +
                        kStart + "\nShort=rnbqkbnr\nLetters=" + std::string(64, 'x') +
                        "\nLast=" + kEndgame.substr(0, 40);
    bytes.push_back('\0');
    bytes += "tail";
    WriteFile(bytes);
    auto store = Store();
    const auto names = store.SlotNames();
    EXPECT_EQ(names[0], "Good");
    EXPECT_FALSE(names[3]) << "an empty name is an empty place";
    EXPECT_EQ(names[19], "Last");
    EXPECT_EQ(store.PositionOf("Good"), kStart);
    for (const char* broken : {"Short", "Letters", "NoEntry", "Last"})
        EXPECT_FALSE(store.PositionOf(broken)) << broken;

    // Saving into the damaged file keeps everything that was there.
    ASSERT_TRUE(store.Save(3, "New", kBlankCorners));
    EXPECT_EQ(store.PositionOf("New"), kBlankCorners);
    EXPECT_EQ(store.PositionOf("Good"), kStart);
    EXPECT_NE(FileText().find("garbage line"), std::string::npos);
    EXPECT_NE(FileText().find("tail"), std::string::npos);
}

TEST_F(SavedGamesTest, AnUnwritableFileFailsAndChangesNothing) {
    // A regular file where the folder should be: no write can succeed, even as root.
    WriteFile("not a folder");
    saved::TSavedGames store(path_ + "/kavrel.sav");
    EXPECT_FALSE(store.Save(0, "Game1", kStart));
    EXPECT_FALSE(store.DeletePlace(0)) << "the place can't be known to be empty";
    EXPECT_TRUE(store.UsedPlaces().empty());
    EXPECT_EQ(FileText(), "not a folder");
}

} // namespace
