#include "SoundSet.h"

#include "Effects.h"
#include "Passport.h"

namespace sounds {

std::vector<TSoundFile> MakeSoundSet() {
    return {
        {"PjdSom1.wav", WaveFileBytes(MoveClick())},
        {"Captura.wav", WaveFileBytes(CaptureKnock())},
        {"Bell.wav", WaveFileBytes(PromotionBell())},
        {"Cheque.wav", WaveFileBytes(CheckAlert())},
        {"mate.wav", WaveFileBytes(MateFigure())},
        {"Empate.wav", WaveFileBytes(DrawChord())},
        {"Passport.mid", PassportMidi()},
    };
}

} // namespace sounds
