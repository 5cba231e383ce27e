#pragma once

#include "Shading.h"

// The six square textures. The board tiles them from its own top-left corner and clips each
// to the squares of its colour, so every texture repeats seamlessly in both directions.

namespace skins {

Shader RoseMarble(int width, int height);    // Red skin, light squares
Shader CrimsonMarble(int width, int height); // Red skin, dark squares
Shader IceMarble(int width, int height);     // Blue skin, light squares
Shader SteelMarble(int width, int height);   // Blue skin, dark squares
Shader Maple(int width, int height);         // Stone and Wood skins, light squares
Shader Walnut(int width, int height);        // Stone and Wood skins, dark squares

} // namespace skins
