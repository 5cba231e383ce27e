#pragma once
// The application object every window test needs, created once per test program, with the
// program's font substitutes installed as at start-up.

#include <QApplication>

#include "Fonts.h"

inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) {
        new QApplication(argc, argv);
        InstallFontSubstitutes();
    }
}
