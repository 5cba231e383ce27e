#pragma once
// The computer's strength chosen on the ladder of levels: the "Strength" submenu of the
// window's commands lists "As Difficulty" and every level of the ladder. A level of the
// strong search is played by a TLadderPlayer, remembered in chesszel.conf (key
// "Strength/Level", the level's name) and shown on the level line ("Level: Expert 2300").
// The ladder's levels that are the plain search at a depth are the Difficulty list's
// levels: picking one sets the Difficulty, and they stay the built-in engine. A program
// chosen with "Engine..." or --engine plays in place of the ladder's level while it is
// chosen.

#include <QString>

class TForm1;
class TLadderPlayer;
class TUciPlayer;

// The stored choice: the index of a strong level of the ladder, -1 for "As Difficulty" (also
// for a missing, unknown or plain level's name).
int ReadStrengthLevel();
void WriteStrengthLevel(int level);

// Adds the submenu, reads the stored choice and lets its player play. Called once, after
// the external engine's player is installed (which may be null).
TLadderPlayer* InstallStrength(TForm1& form, TUciPlayer* program);
