#include "Fonts.h"

void InstallFontSubstitutes() {
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("Times New Roman", "Liberation Serif");
}

QFont LayoutFont(int points, bool bold) {
    QFont f("MS Sans Serif");
    f.setPixelSize((points * 96 + 36) / 72);
    f.setBold(bold);
    return f;
}
