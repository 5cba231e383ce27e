// Feeds arbitrary bytes to the UCI front as command lines. Every search is capped in depth
// and nodes so that one input cannot run for long; a search still running at the end of the
// input is stopped, as at the end of standard input.

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>

#include "NullBuffer.h"
#include "UciSession.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TNullBuffer buffer;
    std::ostream out(&buffer);
    TUciOptions options;
    options.MaxDepth = 3;
    options.MaxNodes = 20000;
    options.HashMegabytes = 1;
    TUciSession session(out, options);
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    session.Run(in);
    return 0;
}
