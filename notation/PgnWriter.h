#pragma once
// Writes games as PGN: the seven standard tags first ("?" for a missing value), then the
// record's other tags, "SetUp" and "FEN" for a game that began from a set position, and the
// moves in SAN with move numbers, wrapped before 80 columns and ended by the result. A move
// with a note is followed by its mark as a NAG ("$4"), a comment with its evaluation and
// clock ("{[%eval -3.10] [%clk 0:04:58]}") and its better line as a variation; a Black move
// after a comment or a variation gets its number again ("12...").

#include <string>

#include "GameRecord.h"

std::string WritePgn(const GameRecord& record);
