#pragma once
// The windows are described with the fonts of the desktop they were drawn for: "MS Sans
// Serif" 8 pt (the window default), "Arial" and "Times New Roman". Linux has none of them;
// InstallFontSubstitutes maps each to the metric-compatible Liberation family the install
// script installs. The window default is set by pixel size (11 px, what 8 pt is at 96 dots
// per inch), so layouts with fixed bounds look the same whatever the screen's resolution.

#include <QFont>

void InstallFontSubstitutes();

// "MS Sans Serif" at the given point size of the original layout, as a pixel size.
QFont LayoutFont(int points = 8, bool bold = false);
