#include "SkinTable.h"

const std::array<TSkin, 4> SkinTable = {{
    {"Red",
     {":/skins/Sk1.bmp", {314, 190}},
     {":/skins/bb1.bmp", {75, 73}},
     {":/skins/bb2.bmp", {69, 62}}},
    {"Blue",
     {":/skins/Sk2.bmp", {372, 214}},
     {":/skins/bc1.bmp", {91, 68}},
     {":/skins/bc2.bmp", {84, 68}}},
    {"Stone",
     {":/skins/Sk4.bmp", {364, 206}},
     {":/skins/ba1.bmp", {137, 74}},
     {":/skins/ba2.bmp", {143, 80}}},
    {"Wood",
     {":/skins/Sk5.bmp", {458, 256}},
     {":/skins/ba1.bmp", {137, 74}},
     {":/skins/ba2.bmp", {143, 80}}},
}};
