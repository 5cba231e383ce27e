#pragma once
// An output buffer for the fuzz targets of the text consoles: output is formatted as usual
// and then dropped.

#include <streambuf>

class TNullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};
