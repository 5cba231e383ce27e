// chessprobe: runs console commands from -c "cmd; cmd; ..." or, without arguments, from the
// lines of standard input.

#include <cstring>
#include <iostream>

#include "ProbeSession.h"

int main(int argc, char** argv) {
    TProbeSession session(std::cout);
    if (argc == 1) {
        session.RunStream(std::cin);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "-c") == 0) {
        session.RunScript(argv[2]);
        return 0;
    }
    std::cerr << "usage: chessprobe [-c \"command; command; ...\"]\n";
    return 2;
}
