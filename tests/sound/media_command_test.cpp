// The media command strings: how they are read, and what they do to the one music device.

#include "MediaCommand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TVerb = TMediaCommand::TVerb;

TEST(MediaCommandParse, OpenKeepsThePathAsWrittenSpacesIncluded) {
    const TMediaCommand c = ParseMediaCommand(
        "OPEN /home/ana/My Games/Chess Zel/Passport.mid TYPE SEQUENCER ALIAS MUSICA");
    EXPECT_EQ(c.Verb, TVerb::Open);
    EXPECT_EQ(c.Path, "/home/ana/My Games/Chess Zel/Passport.mid");
    EXPECT_EQ(c.Type, "SEQUENCER");
    EXPECT_EQ(c.Alias, "MUSICA");

    // A path that itself holds the keywords is still read from both ends.
    EXPECT_EQ(ParseMediaCommand("open /tmp/TYPE ALIAS x/a.mid type sequencer alias musica").Path,
              "/tmp/TYPE ALIAS x/a.mid");
}

TEST(MediaCommandParse, PlayStopCloseAndTheirForms) {
    const TMediaCommand play = ParseMediaCommand("PLAY MUSICA FROM 0");
    EXPECT_EQ(play.Verb, TVerb::Play);
    EXPECT_EQ(play.Alias, "MUSICA");
    EXPECT_TRUE(play.HasFrom);
    EXPECT_EQ(play.From, 0);
    EXPECT_FALSE(ParseMediaCommand("play musica").HasFrom);
    EXPECT_EQ(ParseMediaCommand("PLAY MUSICA FROM 1500").From, 1500);
    EXPECT_EQ(ParseMediaCommand("STOP MUSICA").Verb, TVerb::Stop);
    EXPECT_EQ(ParseMediaCommand("  close   ANIMATION ").Verb, TVerb::Close);
    EXPECT_EQ(ParseMediaCommand("CLOSE ANIMATION").Alias, "ANIMATION");
}

TEST(MediaCommandParse, MalformedCommandsAreUnknown) {
    for (const char* text :
         {"", "   ", "OPEN", "OPEN TYPE SEQUENCER ALIAS MUSICA", "OPEN a.mid TYPE SEQUENCER",
          "OPEN a.mid ALIAS MUSICA", "OPEN a.mid TYPE SEQUENCER ALIAS",
          "OPENa.mid TYPE SEQUENCER ALIAS M", "PLAY", "PLAY MUSICA FROM", "PLAY MUSICA FROM x",
          "PLAY MUSICA FROM -5", "PLAY MUSICA TO 0", "STOP", "STOP A B", "PAUSE MUSICA",
          "SEEK MUSICA TO START"})
        EXPECT_EQ(ParseMediaCommand(text).Verb, TVerb::Unknown) << '"' << text << '"';
}

// Records what the interpreter asks of the device.
class TRecordingPlayer : public TMusicPlayer {
  public:
    bool Load(const std::string& path) override {
        Calls.push_back("load " + path);
        return path.find("missing") == std::string::npos;
    }
    void PlayFromStart() override { Calls.push_back("play"); }
    void Stop() override { Calls.push_back("stop"); }
    void Unload() override { Calls.push_back("unload"); }
    std::vector<std::string> Calls;
};

const std::string kOpen = "OPEN /games/chess zel/Passport.mid TYPE SEQUENCER ALIAS MUSICA";

TEST(MediaInterpreter, PlayStopAndPlayAgainWithTheAliasKeptOpen) {
    TRecordingPlayer player;
    TMediaInterpreter media(player);
    // The main window's "Play" sends OPEN, PLAY, CLOSE ANIMATION every time.
    EXPECT_TRUE(media.Send(kOpen));
    EXPECT_TRUE(media.Send("PLAY MUSICA FROM 0"));
    EXPECT_FALSE(media.Send("CLOSE ANIMATION"));
    EXPECT_TRUE(media.Send("STOP MUSICA"));
    EXPECT_FALSE(media.Send("CLOSE ANIMATION"));
    EXPECT_FALSE(media.Send(kOpen)); // refused: the piece is still open
    EXPECT_TRUE(media.Send("PLAY MUSICA FROM 0"));
    EXPECT_TRUE(media.Send("play musica from 0")); // restarts while playing
    EXPECT_TRUE(media.IsOpen());
    EXPECT_EQ(player.Calls, (std::vector<std::string>{"load /games/chess zel/Passport.mid", "play",
                                                      "stop", "play", "play"}));
}

TEST(MediaInterpreter, CommandsForAnAliasNotOpenChangeNothing) {
    TRecordingPlayer player;
    TMediaInterpreter media(player);
    EXPECT_FALSE(media.Send("STOP MUSICA"));
    EXPECT_FALSE(media.Send("PLAY MUSICA FROM 0"));
    EXPECT_FALSE(media.Send("CLOSE MUSICA"));
    EXPECT_TRUE(player.Calls.empty());

    ASSERT_TRUE(media.Send(kOpen));
    EXPECT_FALSE(media.Send("PLAY OTHER FROM 0"));
    EXPECT_FALSE(media.Send("OPEN b.mid TYPE SEQUENCER ALIAS OTHER")); // the sequencer is taken
    EXPECT_FALSE(media.Send("PLAY MUSICA FROM 2000")); // only the beginning can be sought
    EXPECT_FALSE(media.Send("RESUME MUSICA"));
    EXPECT_EQ(player.Calls.size(), 1u);
}

TEST(MediaInterpreter, AFailedOpenLeavesTheAliasFreeForALaterOne) {
    TRecordingPlayer player;
    TMediaInterpreter media(player);
    EXPECT_FALSE(media.Send("OPEN /games/missing.mid TYPE SEQUENCER ALIAS MUSICA"));
    EXPECT_FALSE(media.IsOpen());
    EXPECT_FALSE(media.Send("PLAY MUSICA FROM 0"));
    EXPECT_FALSE(media.Send("OPEN /games/a.wav TYPE WAVEAUDIO ALIAS MUSICA"));
    EXPECT_TRUE(media.Send(kOpen));
    EXPECT_EQ(player.Calls, (std::vector<std::string>{"load /games/missing.mid",
                                                      "load /games/chess zel/Passport.mid"}));
}

TEST(MediaInterpreter, CloseStopsAndUnloadsSoTheAliasCanOpenAgain) {
    TRecordingPlayer player;
    TMediaInterpreter media(player);
    ASSERT_TRUE(media.Send(kOpen));
    EXPECT_TRUE(media.Send("close Musica"));
    EXPECT_FALSE(media.IsOpen());
    EXPECT_TRUE(media.Send("OPEN /other.mid TYPE SEQUENCER ALIAS MUSICA"));
    EXPECT_EQ(player.Calls, (std::vector<std::string>{"load /games/chess zel/Passport.mid", "stop",
                                                      "unload", "load /other.mid"}));
}

} // namespace
