#pragma once

namespace brawl {

struct Surface;

// The game's screen: a window showing the back buffer.
class Display {
 public:
  virtual ~Display() = default;
  // Takes the screen for a width x height picture. Throws FatalError when it cannot.
  virtual void Open(int width, int height) = 0;
  // Shows the picture and paces the loop to at most 60 flips a second.
  virtual void Flip(const Surface& back_buffer) = 0;
  virtual void ShowPointer(bool shown) = 0;
  // Gives the screen back to the desktop.
  virtual void Restore() = 0;
  // One non-blocking pass over the game window's events (keyboard state included).
  // Returns true when the window was asked to close, or destroyed under the game.
  virtual bool Pump() = 0;
};

}  // namespace brawl
