# Writes OUT, a C++ source holding the bytes of the file IN as ZelNetData and ZelNetSize.
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT} "// Made by EmbedNet.cmake from ${IN}.\n#include <cstddef>\n"
     "extern const unsigned char ZelNetData[];\nextern const std::size_t ZelNetSize;\n"
     "alignas(64) const unsigned char ZelNetData[] = {\n${bytes}};\n"
     "const std::size_t ZelNetSize = ${size};\n")
