#pragma once
// One line of the tuning positions: "<FEN> | <result> [| <score>]", the result (1, 0.5 or 0)
// and the search's score (centipawns) from White's side.

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "StrongPosition.h"

namespace strong {

struct TPositionLine {
    double Result = 0.5;
    std::optional<int> Score;
};

// Reads the line into pos; nothing when it is not such a line (no bar, no position, a result
// other than 0, 0.5 and 1, or a score beyond a mate's).
inline std::optional<TPositionLine> ReadPositionLine(const std::string& line, TPosition& pos) {
    const auto bar = line.find('|');
    if (bar == std::string::npos || !pos.SetFen(line.substr(0, bar))) return std::nullopt;
    TPositionLine out;
    char* end = nullptr;
    const std::string rest = line.substr(bar + 1);
    out.Result = std::strtod(rest.c_str(), &end);
    if (end == rest.c_str() || !(out.Result == 0 || out.Result == 0.5 || out.Result == 1)) return std::nullopt;
    const auto second = rest.find('|');
    if (second != std::string::npos) {
        const long score = std::strtol(rest.c_str() + second + 1, &end, 10);
        if (end == rest.c_str() + second + 1 || std::labs(score) > Infinite) return std::nullopt;
        out.Score = static_cast<int>(score);
    }
    return out;
}

} // namespace strong
