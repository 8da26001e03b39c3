#pragma once
#include <memory>
#include <string_view>

#include "gfx/surface.h"

namespace brawl {

struct FontHandle;  // the one font of the game, owned by Font
struct Font {
  std::shared_ptr<FontHandle> handle;
};

// The game's font through fontconfig. Throws FatalError when none is found.
Font OpenFont(int pixel_height);
// Text in the fore colour with transparent cells, top-left at (x, y).
void DrawText(Surface& target, const Font& font, int x, int y, std::string_view text);
// How wide DrawText would draw `text`, in pixels.
int TextWidth(const Font& font, std::string_view text);

}  // namespace brawl
