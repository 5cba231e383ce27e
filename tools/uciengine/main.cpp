// chesszel-engine: Chess Zel's strong search and its ladder of levels for any program that
// speaks UCI, on standard input and output.

#include <iostream>

#include "UciSession.h"

int main() {
    // The search thread writes to standard output under the session's lock; reading must not
    // flush it from this thread as well (a tied stream does, and duplicated lines).
    std::cin.tie(nullptr);
    TUciSession session(std::cout);
    session.Run(std::cin);
    return 0;
}
