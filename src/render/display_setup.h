#pragma once
#include "platform/display.h"
#include "render/graphics.h"

namespace brawl {

// Takes the screen at width x height and makes the back buffer and font.
void SetUpDisplay(Graphics& gfx, Display& display, int width, int height);

}  // namespace brawl
