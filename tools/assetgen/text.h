#pragma once
#include <string>

#include "picture.h"

namespace brawl {

// The bold sans-serif face that fontconfig picks for the pictures' lettering.
struct Typeface {
  std::string path;
};

// Starts and ends the font library around the run.
struct FontLibrary {
  FontLibrary();
  ~FontLibrary();
  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;
};

struct TextStyle {
  Rgb top{255, 255, 255};  // fill colour at the top of the letters, shading to `bottom`
  Rgb bottom{255, 255, 255};
  Rgb outline{0, 0, 0};
  int outline_width = 0;  // pixels; 0 for none
  Rgb shadow{0, 0, 0};
  int shadow_offset = 0;  // down and right, pixels; 0 for none
};

Typeface FindTypeface();
// Width of the inked text at `size` pixels, outline not counted.
int TextWidth(const Typeface& face, int size, const std::string& text);
// Draws the text with the centre of its ink at (cx, cy).
void DrawTextCentred(Picture& picture, const Typeface& face, int size, const std::string& text, double cx,
                     double cy, const TextStyle& style);
// Draws the text with the left of its ink at x and the centre of its ink at cy.
void DrawTextLeft(Picture& picture, const Typeface& face, int size, const std::string& text, double x,
                  double cy, const TextStyle& style);

}  // namespace brawl
