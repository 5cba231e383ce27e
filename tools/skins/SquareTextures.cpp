#include "SquareTextures.h"

#include "Materials.h"

namespace skins {

Shader RoseMarble(int width, int height) {
    const MarbleLook look{Hex(0xF6ECE2),
                          Hex(0xEBD6CB),
                          Hex(0xD9B9AE),
                          Hex(0xB88478),
                          0.55,
                          Hex(0xC9A093),
                          0.35,
                          2,
                          101};
    return Marble(look, width, height);
}

Shader CrimsonMarble(int width, int height) {
    const MarbleLook look{Hex(0xB2373A),
                          Hex(0x93242A),
                          Hex(0x6E161D),
                          Hex(0xD8958A),
                          0.55,
                          Hex(0x4A0C12),
                          0.45,
                          2,
                          202};
    return Marble(look, width, height);
}

Shader IceMarble(int width, int height) {
    const MarbleLook look{Hex(0xF1F6FA),
                          Hex(0xDCE7F0),
                          Hex(0xC3D3E2),
                          Hex(0x8EA6BE),
                          0.55,
                          Hex(0xA9BCD0),
                          0.35,
                          2,
                          303};
    return Marble(look, width, height);
}

Shader SteelMarble(int width, int height) {
    const MarbleLook look{Hex(0x5E7FA6),
                          Hex(0x46648C),
                          Hex(0x2F486C),
                          Hex(0xB8CBE0),
                          0.5,
                          Hex(0x1E3050),
                          0.45,
                          2,
                          404};
    return Marble(look, width, height);
}

Shader Maple(int width, int height) {
    const WoodLook look{Hex(0xEACB98), Hex(0xCFA064), Hex(0xAA7B48), 0.7, 0.05, 0.05, 505};
    return Wood(look, 5, 0.8, width, height);
}

Shader Walnut(int width, int height) {
    const WoodLook look{Hex(0x8A5A36), Hex(0x5C3720), Hex(0x3A2214), 0.8, 0.06, 0.07, 606};
    return Wood(look, 5, 0.9, width, height);
}

} // namespace skins
