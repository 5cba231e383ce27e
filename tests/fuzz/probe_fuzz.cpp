// Feeds arbitrary bytes to the console as command lines. Perft and search depths, and the
// number of men a searched position may hold, are capped so that one input cannot run for
// minutes; everything else is the program's own behaviour.

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>

#include "NullBuffer.h"
#include "ProbeSession.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TNullBuffer buffer;
    std::ostream out(&buffer);
    TProbeOptions options;
    options.MaxPerftDepth = 3;
    options.MaxSearchDepth = 2;
    options.MaxSearchMen = 12;
    TProbeSession session(out, options);
    std::string text(reinterpret_cast<const char*>(data), size);
    // The first byte chooses the stdin form (one command a line) or the -c form.
    if (size > 0 && (data[0] & 1) != 0) {
        session.RunScript(text);
    } else {
        std::istringstream in(text);
        session.RunStream(in);
    }
    return 0;
}
