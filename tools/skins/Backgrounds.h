#pragma once

#include "Shading.h"

// The four window backgrounds. Each is stretched over whole windows and panels of other
// shapes, so they carry no motif that stretching would spoil: an even material, a soft
// light from the top left and a narrow bevel that gives every panel a finished edge.

namespace skins {

Shader RedLeather(int width, int height);
Shader BlueBrushedMetal(int width, int height);
Shader Granite(int width, int height);
Shader OakPanel(int width, int height);

} // namespace skins
