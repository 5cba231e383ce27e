// zel_nettrain: fits the strong evaluation's net (engine/strong/StrongNet.h) to positions
// written by zel_selfplay, "<FEN> | <result> | <score>" from White's side. The net corrects
// the classic evaluation: the classic score plus the net's output, through the logistic
// function, is fitted by mean squared error to the logistic of the search's score, or to a
// blend of it with the game's result (--lambda: the score's share, 1 by default). The last
// positions of each file (--valid, a share) are kept aside to measure how well the fit
// generalises; the net of the epoch that did best on them is written quantised, as the
// engine reads it.
//
// zel_nettrain --out FILE [--epochs N] [--lambda L] [--lr R] [--batch B] [--threads T]
//              [--seed S] [--valid SHARE] [--init NET] FILES...
//
// --init starts from the weights of a net already fitted (a net file) instead of random ones,
// so a net can be fitted further to the games of its own search.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "PositionLine.h"
#include "StrongEval.h"
#include "StrongNet.h"

using namespace strong;

namespace {

constexpr int H = NetHidden;

struct TOptions {
    std::string Out;
    std::string Init;
    int Epochs = 12;
    double Lambda = 1.0;
    double Rate = 0.001;
    int Batch = 4096;
    int Threads = 2;
    unsigned Seed = 1;
    double Valid = 0.03;
    std::vector<std::string> Files;
};

// A position as its pieces (piece * 64 + square), the side to move and the target from the
// side to move's point of view.
struct TSample {
    std::uint16_t Pieces[32];
    std::uint8_t Count = 0;
    std::uint8_t Side = 0;
    float Target = 0.5f;
    float Classic = 0; // the classic evaluation, in the output's units
};

double Sigmoid(double x) {
    return 1.0 / (1.0 + std::exp(-x));
}

bool Load(const std::string& file, const TOptions& o, std::vector<TSample>& train,
          std::vector<TSample>& valid) {
    const double lambda = o.Lambda, validShare = o.Valid;
    std::ifstream in(file);
    if (!in) return false;
    std::vector<TSample> all;
    TPosition pos;
    std::string line;
    while (std::getline(in, line)) {
        const auto read = ReadPositionLine(line, pos);
        if (!read || !read->Score) continue;
        TSample s;
        Bitboard b = pos.Occupied();
        while (b && s.Count < 32) {
            const int sq = PopLsb(b);
            s.Pieces[s.Count++] = static_cast<std::uint16_t>(pos.Board[sq] * 64 + sq);
        }
        s.Side = static_cast<std::uint8_t>(pos.Side);
        s.Classic = static_cast<float>(Evaluate(pos, TEvalSet::Classic)) / NetScale;
        const double white = lambda * Sigmoid(*read->Score / double(NetScale)) + (1 - lambda) * read->Result;
        s.Target = static_cast<float>(pos.Side == White ? white : 1 - white);
        all.push_back(s);
    }
    const std::size_t kept = all.size() - static_cast<std::size_t>(all.size() * validShare);
    train.insert(train.end(), all.begin(), all.begin() + kept);
    valid.insert(valid.end(), all.begin() + kept, all.end());
    return true;
}

// The parameters in one sequence: W1, B1, W2, P, B2.
struct TNet {
    static constexpr std::size_t OfB1 = NetInputs * H, OfW2 = OfB1 + H, OfP = OfW2 + 2 * H,
                                 OfB2 = OfP + NetInputs;
    std::vector<float> P = std::vector<float>(OfB2 + 1);
    float* W1() { return P.data(); }
    const float* W1() const { return P.data(); }
    float* B1() { return P.data() + OfB1; }
    const float* B1() const { return P.data() + OfB1; }
    float* W2() { return P.data() + OfW2; }
    const float* W2() const { return P.data() + OfW2; }
    float* Psq() { return P.data() + OfP; }
    const float* Psq() const { return P.data() + OfP; }
    float& B2() { return P[OfB2]; }
    float B2() const { return P[OfB2]; }
};

// The hidden units of one side of a sample before clipping.
void Accumulate(const TNet& net, const TSample& s, int perspective, float* acc) {
    std::copy(net.B1(), net.B1() + H, acc);
    for (int k = 0; k < s.Count; ++k) {
        const float* column = &net.W1()[NetFeature(perspective, s.Pieces[k] / 64, s.Pieces[k] % 64) * H];
        for (int i = 0; i < H; ++i)
            acc[i] += column[i];
    }
}

double Forward(const TNet& net, const TSample& s, float acc[2][H]) {
    Accumulate(net, s, s.Side, acc[0]);
    Accumulate(net, s, s.Side ^ 1, acc[1]);
    double out = net.B2() + s.Classic;
    for (int side = 0; side < 2; ++side)
        for (int i = 0; i < H; ++i)
            out += std::clamp(acc[side][i], 0.0f, 1.0f) * net.W2()[side * H + i];
    for (int k = 0; k < s.Count; ++k) {
        const int piece = s.Pieces[k] / 64, sq = s.Pieces[k] % 64;
        out += net.Psq()[NetFeature(s.Side, piece, sq)] - net.Psq()[NetFeature(s.Side ^ 1, piece, sq)];
    }
    return out;
}

// Adds the gradient of the squared error of the samples [begin, end) to grad; returns the
// summed error.
double Gradient(const TNet& net, const std::vector<TSample>& data, const std::vector<std::size_t>& order,
                std::size_t begin, std::size_t end, TNet& grad) {
    double error = 0;
    float acc[2][H];
    float delta[H];
    for (std::size_t n = begin; n < end; ++n) {
        const TSample& s = data[order[n]];
        const double p = Sigmoid(Forward(net, s, acc));
        error += (p - s.Target) * (p - s.Target);
        const float g = static_cast<float>(2 * (p - s.Target) * p * (1 - p));
        grad.B2() += g;
        for (int side = 0; side < 2; ++side) {
            const int perspective = side == 0 ? s.Side : s.Side ^ 1;
            for (int i = 0; i < H; ++i) {
                const float a = acc[side][i];
                grad.W2()[side * H + i] += g * std::clamp(a, 0.0f, 1.0f);
                delta[i] = a > 0 && a < 1 ? g * net.W2()[side * H + i] : 0.0f;
                grad.B1()[i] += delta[i];
            }
            for (int k = 0; k < s.Count; ++k) {
                const int feature = NetFeature(perspective, s.Pieces[k] / 64, s.Pieces[k] % 64);
                grad.Psq()[feature] += side == 0 ? g : -g;
                float* column = &grad.W1()[feature * H];
                for (int i = 0; i < H; ++i)
                    column[i] += delta[i];
            }
        }
    }
    return error;
}

double Loss(const TNet& net, const std::vector<TSample>& data) {
    double error = 0;
    float acc[2][H];
    for (const TSample& s : data) {
        const double p = Sigmoid(Forward(net, s, acc));
        error += (p - s.Target) * (p - s.Target);
    }
    return data.empty() ? 0 : error / data.size();
}

// The weights of a net file, as the fit holds them.
bool ReadInit(const std::string& file, TNet& net) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TNetWeights w;
    if (!ReadNet(bytes.data(), bytes.size(), w)) return false;
    const double qa = NetQA, qb = NetQB;
    for (std::size_t i = 0; i < TNet::OfB1; ++i) net.P[i] = static_cast<float>(w.W1[i] / qa);
    for (int i = 0; i < H; ++i) net.B1()[i] = static_cast<float>(w.B1[i] / qa);
    for (int i = 0; i < 2 * H; ++i) net.W2()[i] = static_cast<float>(w.W2[i] / qb);
    for (int i = 0; i < NetInputs; ++i) net.Psq()[i] = static_cast<float>(w.P[i] / (qa * qb));
    net.B2() = static_cast<float>(w.B2 / (qa * qb));
    return true;
}

void Put(std::string& out, std::int64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

// Writes the net beside FILE first and then puts it in FILE's place, so a fit that dies while
// writing never leaves a broken net where the build reads it. Weights beyond what their
// integers hold are held at the largest value rather than wrapped round.
bool Write(const TNet& net, const std::string& file) {
    std::string out("ZELNET1", 8);
    Put(out, H, 4);
    const auto q = [](float v, double scale, std::int64_t limit) {
        return std::clamp<std::int64_t>(std::llround(v * scale), -limit, limit);
    };
    constexpr std::int64_t Int16 = 32767, Int32 = 2147483647;
    for (std::size_t i = 0; i < TNet::OfW2; ++i) Put(out, q(net.P[i], NetQA, Int16), 2);
    for (std::size_t i = TNet::OfW2; i < TNet::OfP; ++i) Put(out, q(net.P[i], NetQB, Int16), 2);
    for (std::size_t i = TNet::OfP; i < TNet::OfB2; ++i)
        Put(out, q(net.P[i], double(NetQA) * NetQB, Int32), 4);
    Put(out, q(net.B2(), double(NetQA) * NetQB, Int32), 4);
    const std::string temporary = file + ".part";
    {
        std::ofstream f(temporary, std::ios::binary | std::ios::trunc);
        f.write(out.data(), static_cast<std::streamsize>(out.size()));
        if (!f.flush()) return false;
    }
    return std::rename(temporary.c_str(), file.c_str()) == 0;
}

} // namespace

int main(int argc, char** argv) {
    TOptions o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool value = i + 1 < argc;
        if (a == "--out" && value) o.Out = argv[++i];
        else if (a == "--epochs" && value) o.Epochs = std::atoi(argv[++i]);
        else if (a == "--lambda" && value) o.Lambda = std::atof(argv[++i]);
        else if (a == "--lr" && value) o.Rate = std::atof(argv[++i]);
        else if (a == "--batch" && value) o.Batch = std::max(1, std::atoi(argv[++i]));
        else if (a == "--threads" && value) o.Threads = std::clamp(std::atoi(argv[++i]), 1, 64);
        else if (a == "--seed" && value) o.Seed = static_cast<unsigned>(std::atoi(argv[++i]));
        else if (a == "--valid" && value) o.Valid = std::atof(argv[++i]);
        else if (a == "--init" && value) o.Init = argv[++i];
        else if (a.rfind("--", 0) == 0) {
            std::fprintf(stderr, "unknown option %s\n", a.c_str());
            return 2;
        } else o.Files.push_back(a);
    }
    if (o.Out.empty() || o.Files.empty()) {
        std::fprintf(stderr, "usage: zel_nettrain --out FILE [options] FILES...\n");
        return 2;
    }
    std::vector<TSample> train, valid;
    for (const auto& f : o.Files)
        if (!Load(f, o, train, valid)) {
            std::fprintf(stderr, "cannot read %s\n", f.c_str());
            return 1;
        }
    std::fprintf(stderr, "%zu positions to fit, %zu kept aside\n", train.size(), valid.size());

    // 1. Start from the given net, or from small random weights, every unit half open, the
    // inputs' own values at nothing.
    std::mt19937 rng(o.Seed);
    TNet net, m, v;
    if (!o.Init.empty()) {
        if (!ReadInit(o.Init, net)) {
            std::fprintf(stderr, "cannot read the net %s\n", o.Init.c_str());
            return 1;
        }
        std::fprintf(stderr, "from %s: kept aside %.6f\n", o.Init.c_str(), Loss(net, valid));
    } else {
        std::uniform_real_distribution<float> w1(-0.1f, 0.1f), w2(-0.1f, 0.1f);
        for (std::size_t i = 0; i < TNet::OfB1; ++i) net.P[i] = w1(rng);
        for (std::size_t i = TNet::OfB1; i < TNet::OfW2; ++i) net.P[i] = 0.5f;
        for (std::size_t i = TNet::OfW2; i < TNet::OfP; ++i) net.P[i] = w2(rng);
    }
    std::vector<std::size_t> order(train.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    // 2. Adam over shuffled batches; the rate falls to a tenth over the last third.
    long step = 0;
    double bestAside = 1e9;
    for (int epoch = 1; epoch <= o.Epochs; ++epoch) {
        std::shuffle(order.begin(), order.end(), rng);
        const double fall = epoch > o.Epochs * 2 / 3 ? 0.1 : epoch > o.Epochs / 3 ? 0.3 : 1.0;
        const double rate = o.Rate * fall;
        double error = 0;
        for (std::size_t begin = 0; begin < order.size(); begin += o.Batch) {
            const std::size_t end = std::min(order.size(), begin + o.Batch);
            std::vector<TNet> grads(o.Threads);
            std::vector<double> errors(o.Threads);
            std::vector<std::thread> workers;
            const std::size_t share = (end - begin + o.Threads - 1) / o.Threads;
            for (int t = 0; t < o.Threads; ++t) {
                const std::size_t b = std::min(end, begin + t * share), e = std::min(end, b + share);
                workers.emplace_back([&, t, b, e] { errors[t] = Gradient(net, train, order, b, e, grads[t]); });
            }
            for (auto& w : workers) w.join();
            for (int t = 1; t < o.Threads; ++t)
                for (std::size_t i = 0; i < net.P.size(); ++i) grads[0].P[i] += grads[t].P[i];
            for (double e : errors) error += e;
            ++step;
            const double n = double(end - begin);
            const double c1 = 1 - std::pow(0.9, step), c2 = 1 - std::pow(0.999, step);
            const std::vector<float>& g = grads[0].P;
            for (std::size_t i = 0; i < net.P.size(); ++i) {
                const double gi = g[i] / n;
                m.P[i] = static_cast<float>(0.9 * m.P[i] + 0.1 * gi);
                v.P[i] = static_cast<float>(0.999 * v.P[i] + 0.001 * gi * gi);
                // Keeps the integers in range.
                const double limit = i >= TNet::OfP ? 20.0 : i >= TNet::OfW2 ? 15.0 : 1.98;
                net.P[i] = static_cast<float>(std::clamp(
                    net.P[i] - rate * (m.P[i] / c1) / (std::sqrt(v.P[i] / c2) + 1e-8), -limit, limit));
            }
        }
        const double aside = Loss(net, valid);
        std::fprintf(stderr, "epoch %d: rate %.5f, fit %.6f, kept aside %.6f\n", epoch, rate,
                     error / order.size(), aside);
        // The net written is that of the epoch that did best on the positions kept aside.
        if (aside > bestAside) continue;
        bestAside = aside;
        if (!Write(net, o.Out)) {
            std::fprintf(stderr, "cannot write %s\n", o.Out.c_str());
            return 1;
        }
    }
    return 0;
}
