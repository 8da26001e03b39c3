#pragma once
#include <SDL.h>

namespace brawl {

// SDL says nothing when the window system destroys a window under it (xkill, some window
// managers do). On X11 the raw DestroyNotify tells; elsewhere nothing is watched.

// Turns on the raw window-system events and returns what to watch for (0: nothing).
unsigned long WatchForDestroy(SDL_Window* window);
// Whether `event` says the watched window was destroyed.
bool IsDestroyOf(const SDL_Event& event, unsigned long watched);

}  // namespace brawl
