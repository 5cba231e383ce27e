#include "StrongNet.h"

#include <algorithm>
#include <cstring>

// The bytes of the shipped net's file, compiled in by the build.
extern const unsigned char ZelNetData[];
extern const std::size_t ZelNetSize;

namespace strong {

namespace {

std::int32_t ReadInt(const unsigned char* p, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return bytes == 2 ? static_cast<std::int16_t>(v) : static_cast<std::int32_t>(v);
}

template <class T>
void ReadInts(const unsigned char*& p, std::vector<T>& out, std::size_t n) {
    out.resize(n);
    for (std::size_t i = 0; i < n; ++i, p += sizeof(T))
        out[i] = static_cast<T>(ReadInt(p, sizeof(T)));
}

// Both sides' hidden units before clipping (by colour, White's first), for the position of
// the state they are tagged with.
struct TAccumulator {
    alignas(64) std::int16_t V[2][NetHidden];
    std::int32_t Psq[2]; // the inputs' own values, as each side sees them
    Key Hash = 0;
    const TNetWeights* Net = nullptr;
};

void AddColumn(TAccumulator& a, int side, const TNetWeights& net, int feature, int sign) {
    std::int16_t* acc = a.V[side];
    a.Psq[side] += sign * net.P[feature];
    const std::int16_t* column = &net.W1[feature * NetHidden];
    if (sign > 0)
        for (int i = 0; i < NetHidden; ++i) acc[i] = static_cast<std::int16_t>(acc[i] + column[i]);
    else
        for (int i = 0; i < NetHidden; ++i) acc[i] = static_cast<std::int16_t>(acc[i] - column[i]);
}

// The units from nothing: the bias plus the column of every piece.
void Refresh(const TPosition& pos, const TNetWeights& net, TAccumulator& a) {
    for (int side = White; side <= Black; ++side) {
        std::memcpy(a.V[side], net.B1.data(), NetHidden * sizeof(std::int16_t));
        a.Psq[side] = 0;
        Bitboard b = pos.Occupied();
        while (b) {
            const int sq = PopLsb(b);
            AddColumn(a, side, net, NetFeature(side, pos.Board[sq], sq), 1);
        }
    }
}

// The units after the move that left st, from those before it.
void Update(const TState& st, const TNetWeights& net, TAccumulator& a) {
    if (st.MovedPiece == NoPiece) return; // a null move
    const int piece = st.MovedPiece, us = ColourOf(piece);
    const int from = FromSq(st.Played), to = ToSq(st.Played), kind = KindOf(st.Played);
    const int arriving = kind == KindPromotion ? MakePiece(us, PromoType(st.Played)) : piece;
    for (int side = White; side <= Black; ++side) {
        AddColumn(a, side, net, NetFeature(side, piece, from), -1);
        AddColumn(a, side, net, NetFeature(side, arriving, to), 1);
        if (st.Captured != NoPiece) {
            const int victim = kind == KindEnPassant ? to + (us == White ? -8 : 8) : to;
            AddColumn(a, side, net, NetFeature(side, st.Captured, victim), -1);
        }
        if (kind == KindCastle) {
            const int rook = MakePiece(us, Rook);
            const int rookFrom = to > from ? from + 3 : from - 4, rookTo = to > from ? from + 1 : from - 1;
            AddColumn(a, side, net, NetFeature(side, rook, rookFrom), -1);
            AddColumn(a, side, net, NetFeature(side, rook, rookTo), 1);
        }
    }
}

// Each thread keeps the units of the positions it evaluated, by their place in the game's
// stack of states and tagged with their key: a position finds those of an earlier state of
// its own game and brings them up to date with the moves since, or counts them afresh.
const TAccumulator& UnitsOf(const TPosition& pos, const TNetWeights& net) {
    constexpr int Walk = 8; // the furthest back an earlier state is looked for
    thread_local std::vector<TAccumulator> stack;
    const int n = pos.GamePly();
    if (static_cast<int>(stack.size()) <= n) stack.resize(n + MaxPly);
    int found = -1;
    for (int i = n; i >= std::max(0, n - Walk); --i)
        if (stack[i].Net == &net && stack[i].Hash == pos.EarlierState(n - i)->Hash) {
            found = i;
            break;
        }
    if (found < 0) {
        found = n;
        Refresh(pos, net, stack[n]);
    }
    for (int i = found + 1; i <= n; ++i) {
        stack[i] = stack[i - 1]; // tagged below
        Update(*pos.EarlierState(n - i), net, stack[i]);
    }
    for (int i = found; i <= n; ++i) {
        stack[i].Hash = pos.EarlierState(n - i)->Hash;
        stack[i].Net = &net;
    }
    return stack[n];
}

std::int32_t Output(const std::int16_t* acc, const std::int16_t* w) {
    std::int32_t sum = 0;
    for (int i = 0; i < NetHidden; ++i)
        sum += std::clamp<std::int32_t>(acc[i], 0, NetQA) * w[i];
    return sum;
}

} // namespace

TNetWeights TNetWeights::Empty() {
    TNetWeights n;
    n.W1.assign(NetInputs * NetHidden, 0);
    n.B1.assign(NetHidden, 0);
    n.W2.assign(2 * NetHidden, 0);
    n.P.assign(NetInputs, 0);
    return n;
}

bool ReadNet(const unsigned char* data, std::size_t size, TNetWeights& net) {
    constexpr std::size_t expected =
        8 + 4 + 2 * (NetInputs * NetHidden + NetHidden + 2 * NetHidden) + 4 * NetInputs + 4;
    if (size != expected || std::memcmp(data, "ZELNET1", 8) != 0) return false;
    const unsigned char* p = data + 8;
    if (ReadInt(p, 4) != NetHidden) return false;
    p += 4;
    ReadInts(p, net.W1, NetInputs * NetHidden);
    ReadInts(p, net.B1, NetHidden);
    ReadInts(p, net.W2, 2 * NetHidden);
    ReadInts(p, net.P, NetInputs);
    net.B2 = ReadInt(p, 4);
    return true;
}

const TNetWeights& BuiltInNet() {
    static const TNetWeights net = [] {
        // The build embeds a file the tests read; should it not be a net, nothing is corrected.
        TNetWeights n;
        return ReadNet(ZelNetData, ZelNetSize, n) ? n : TNetWeights::Empty();
    }();
    return net;
}

int EvaluateNet(const TPosition& pos, const TNetWeights& net) {
    const TAccumulator& units = UnitsOf(pos, net);
    const std::int64_t sum = static_cast<std::int64_t>(Output(units.V[pos.Side], net.W2.data())) +
                             Output(units.V[pos.Side ^ 1], net.W2.data() + NetHidden) + net.B2 +
                             units.Psq[pos.Side] - units.Psq[pos.Side ^ 1];
    const std::int64_t cp = sum * NetScale / (NetQA * NetQB);
    return static_cast<int>(std::clamp<std::int64_t>(cp, -MateBound + 1, MateBound - 1));
}

} // namespace strong
