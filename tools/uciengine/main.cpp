// chesszel-engine: Chess Zel's strong search and its ladder of levels for any program that
// speaks UCI, on standard input and output.

#include <iostream>

#include "UciSession.h"

int main() {
    std::ios::sync_with_stdio(false);
    TUciSession session(std::cout);
    session.Run(std::cin);
    return 0;
}
