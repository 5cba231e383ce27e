#pragma once
// Caminho is the folder of the program's data files (sounds, music, help), with a trailing
// separator: <prefix>/share/chesszel/ when the program is installed as <prefix>/bin/chesszel,
// else the program's own folder, where the build puts them beside it.

#include <string>

std::string Caminho();
