#pragma once
#include <SDL.h>

#include <string>

namespace brawl {

// The application icon the install provides, as a file: the build folder's icons/ tree, or
// share/icons/hicolor beside the program (bin/ or games/ under any prefix). Empty when
// there is none: the windows then go without.
std::string AppIconFile();

// Shows the icon of `file` on the game window; a file that cannot be read is a warning, and
// the window goes without (the game plays the same).
void SetWindowIcon(SDL_Window* window, const std::string& file);

}  // namespace brawl
