#pragma once
// A small neural net that corrects the classic evaluation by what searches found beyond it
// (tools/nettrain). Every piece on its square is an input, seen once from each
// side (own pieces first, the board turned for Black); a hidden layer of NetHidden units,
// clipped to 0..1, per side; one output over both sides' units, the side to move's first,
// plus a value of each input, counted for the side to move's view and against the other's.
// The output times NetScale is the correction in centipawns.
//
// The weights are integers: the hidden layer's scaled by NetQA, the output's by NetQB.
// They are read from a file of this layout, all little-endian:
//
//     "ZELNET1\0"  int32 hidden units
//     int16 W1[768][hidden]   int16 B1[hidden]   int16 W2[2 * hidden]
//     int32 P[768]   int32 B2
//
// P and B2 are scaled by NetQA * NetQB.
//
// Each thread keeps the hidden units of the positions it evaluated, tagged with the net they
// were counted for by its address: a net's weights do not change once it has evaluated.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "StrongPosition.h"

namespace strong {

constexpr int NetInputs = 768;
constexpr int NetHidden = 128;
constexpr int NetQA = 255;
constexpr int NetQB = 1024;
constexpr int NetScale = 400;

// The input of a piece on a square seen from one side.
constexpr int NetFeature(int perspective, int piece, int sq) {
    return (ColourOf(piece) == perspective ? 0 : 384) + TypeOf(piece) * 64 +
           (perspective == White ? sq : sq ^ 56);
}

struct TNetWeights {
    std::vector<std::int16_t> W1, B1, W2;
    std::vector<std::int32_t> P;
    std::int32_t B2 = 0;

    // A net of the right shape with every weight 0: it corrects nothing.
    static TNetWeights Empty();
};

// Reads a net of NetHidden units from the bytes of its file; false when they are not one.
bool ReadNet(const unsigned char* data, std::size_t size, TNetWeights& net);
// The net the program ships.
const TNetWeights& BuiltInNet();

// The correction in centipawns from the side to move's point of view.
int EvaluateNet(const TPosition& pos, const TNetWeights& net = BuiltInNet());

} // namespace strong
