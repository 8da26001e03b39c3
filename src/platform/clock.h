#pragma once

namespace brawl {

// The game's timer and its pause.
class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds as a 32-bit float, like the game's timer. Only differences matter.
  virtual float Seconds() = 0;
  // Holds the program still; negative values count as 0.
  virtual void Pause(int milliseconds) = 0;
};

}  // namespace brawl
