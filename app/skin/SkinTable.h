#pragma once
// The four skins: a background picture stretched over the windows and their panels, and
// the two square pictures the main board tiles over its light and dark squares. Index i is
// entry i of the skin lists. The pictures are compiled into the program.

#include <QSize>

#include <array>

struct TSkinPicture {
    const char* Resource; // ":/skins/..."
    QSize Size;
};

struct TSkin {
    const char* Name; // the skin list's entry
    TSkinPicture Background;
    TSkinPicture Light;
    TSkinPicture Dark;
};

extern const std::array<TSkin, 4> SkinTable;
