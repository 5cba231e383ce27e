#include "SoundSet.h"

#include "Effects.h"
#include "Passport.h"

namespace sounds {

std::vector<TSoundFile> MakeSoundSet() {
    return {
        {"PjdSom1.wav", WaveFileOf(MoveClick())},
        {"Captura.wav", WaveFileOf(CaptureKnock())},
        {"Bell.wav", WaveFileOf(PromotionBell())},
        {"Cheque.wav", WaveFileOf(CheckAlert())},
        {"mate.wav", WaveFileOf(MateFigure())},
        {"Empate.wav", WaveFileOf(DrawChord())},
        {"Passport.mid", PassportMidi()},
    };
}

} // namespace sounds
