// What the main window really sends to the sound card, caught with SDL's disk audio driver:
// the music when the window becomes active, silence once Play stops it, and the move sound
// after a move.

#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "MainWindowSupport.h"

namespace {

constexpr int kRate = 44100;

struct TDiskOutput {
    QTemporaryDir Folder;
    QString File = Folder.path() + "/output.raw";
    TDiskOutput() {
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", File.toUtf8());
        qunsetenv("SDL_DISKAUDIODELAY"); // real time
    }
    qint64 Size() const { return QFileInfo(File).size() / 4 * 4; }
    // The frames from offset on (16-bit stereo), as the louder channel.
    std::vector<int> Frames(qint64 offset) const {
        QFile f(File);
        if (!f.open(QIODevice::ReadOnly)) return {};
        f.seek(offset);
        const QByteArray bytes = f.readAll();
        std::vector<int> frames;
        const auto* s = reinterpret_cast<const std::int16_t*>(bytes.constData());
        for (qsizetype i = 0; i + 1 < bytes.size() / 2; i += 2)
            frames.push_back(std::max(std::abs(int{s[i]}), std::abs(int{s[i + 1]})));
        return frames;
    }
    // First and last frame above the threshold, {-1, -1} for none.
    std::pair<long, long> Loud(qint64 offset, int threshold = 300) const {
        const std::vector<int> f = Frames(offset);
        long first = -1, last = -1;
        for (std::size_t i = 0; i < f.size(); ++i)
            if (f[i] > threshold) {
                if (first < 0) first = long(i);
                last = long(i);
            }
        return {first, last};
    }
};

void Wait(int ms) {
    PumpUntil([] { return false; }, ms);
}

TEST(ProgramAudio, MusicAtActivationSilenceAfterPlayThenTheMoveSound) {
    EnsureApplication();
    TDiskOutput out;
    TTempHome home;
    TForm1 form; // the system's sound device
    form.show();
    form.FormActivate();
    ASSERT_TRUE(PumpUntil([&] { return out.Loud(0).first >= 0; }, 60000)) << "no music";

    Controls(form).ComboBox1->setCurrentText("Player");
    Controls(form).ComboBox2->setCurrentText("Player");
    form.SpeedButton1Click(); // stops the music
    Wait(200);
    const qint64 stopped = out.Size();
    Wait(300);
    EXPECT_EQ(out.Loud(stopped, 0).first, -1) << "sound after Play stopped the music";

    const qint64 before = out.Size();
    ASSERT_TRUE(form.Board()->PlayerMove(E2, E4));
    Wait(200);
    const auto [first, last] = out.Loud(before);
    ASSERT_GE(first, 0) << "no move sound";
    // How soon it is heard is the sound layer's test; the disk writer falls behind real time
    // on a loaded machine, so only the stretch itself is checked here.
    EXPECT_GT(last - first, kRate * 40 / 1000);
    EXPECT_LT(last - first, kRate * 150 / 1000);
}

} // namespace
