#include "platform/sdl/sdl_window_destroy.h"

#include <SDL_syswm.h>

namespace brawl {

unsigned long WatchForDestroy(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return 0;
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  return info.info.x11.window;
}

bool IsDestroyOf(const SDL_Event& event, unsigned long watched) {
  if (event.type != SDL_SYSWMEVENT || watched == 0) return false;
  const SDL_SysWMmsg* message = event.syswm.msg;
  if (message == nullptr || message->subsystem != SDL_SYSWM_X11) return false;
  const XEvent& x = message->msg.x11.event;
  return x.type == DestroyNotify && x.xdestroywindow.window == watched;
}

}  // namespace brawl
