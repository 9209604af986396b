#pragma once

#include "graphics/CGPoint.h"
#include "graphics/CGSize.h"
#include "ui/ShaderColor.h"
#include "ui/ShaderFunction.h"

namespace quoril {

// The colour function "burn": paper burning away from its edges. Its arguments after the
// position and colour are the layer's size in points, an unused float, the time and the seed.
// At time 0 or before every pixel is transparent; a front then starts at the four edges and
// moves inward along a ragged, seeded outline, charring the paper just ahead of it, glowing on
// it and leaving the given colour behind it; from shortly before time 1 every pixel is the
// given colour. A pixel the front has passed stays passed at every later time.
ui::ShaderColor burnColor(graphics::CGPoint position, ui::ShaderColor color, graphics::CGSize size,
                          float time, float seed);

// burnColor as a shader function named "burn".
ui::ShaderFunction burnShaderFunction();

// Adds "burn" to the program's default shader library (again, harmlessly).
void registerBurnShader();

} // namespace quoril
