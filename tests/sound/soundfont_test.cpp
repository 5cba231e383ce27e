// Which instrument bank renders the music.

#include "SoundFonts.h"
#include "SoundTestSupport.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

fs::path Folder(const std::string& name, const std::vector<std::string>& files) {
    const fs::path folder = soundtest::TempFolder() / name;
    fs::create_directories(folder);
    for (const std::string& file : files)
        std::ofstream(folder / file) << "bank";
    return folder;
}

TEST(SoundFont, TheSmallGeneralMidiBankFirstThenTheLargeOneThenAnyBankByName) {
    EXPECT_EQ(ChooseSoundFont(
                  Folder("s", {"FluidR3_GM.sf2", "TimGM6mb.sf2", "aa.sf2"}).string()),
              (soundtest::TempFolder() / "s" / "TimGM6mb.sf2").string());
    EXPECT_EQ(ChooseSoundFont(Folder("a", {"zz.sf2", "FluidR3_GM.sf2", "aa.sf3"}).string()),
              (soundtest::TempFolder() / "a" / "FluidR3_GM.sf2").string());
    EXPECT_EQ(ChooseSoundFont(Folder("b", {"piano.sf3", "organ.sf2", "notes.txt"}).string()),
              (soundtest::TempFolder() / "b" / "organ.sf2").string());
    // A folder named like a bank isn't one.
    const fs::path c = Folder("c", {"z.sf2"});
    fs::create_directories(c / "FluidR3_GM.sf2");
    fs::create_directories(c / "a.sf2");
    EXPECT_EQ(ChooseSoundFont(c.string()), (c / "z.sf2").string());
}

TEST(SoundFont, NoBankNoChoice) {
    EXPECT_EQ(ChooseSoundFont(Folder("d", {"readme.txt", "bank.sf2.bak"}).string()), "");
    EXPECT_EQ(ChooseSoundFont("/nonexistent/folder"), "");
}

} // namespace
