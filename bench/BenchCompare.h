#pragma once
// The side-by-side timing of the engine's search against the plain transcription.

#include <vector>

namespace bench {

// The middle value, or the mean of the two middle values; v must not be empty.
double Median(std::vector<double> v);

// Searches the search set to depth 5, and its first DeepSearchCount positions to depth 6,
// with the engine and with the transcription, position by position in alternating order,
// for the given number of rounds. Prints each round's ratio of CPU times and the median;
// reports any position whose iterations, line or best move differ. Returns false on a
// difference. onlyDepth 5 or 6 runs that set alone. The two searchers are its own, made on
// the first call and kept for the next.
bool RunCompare(int rounds, int onlyDepth = 0);

} // namespace bench
