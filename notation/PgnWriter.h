#pragma once
// Writes games as PGN: the seven standard tags first ("?" for a missing value), then the
// record's other tags, "SetUp" and "FEN" for a game that began from a set position, and the
// moves in SAN with move numbers, wrapped before 80 columns and ended by the result.

#include <string>

#include "GameRecord.h"

std::string WritePgn(const GameRecord& record);
