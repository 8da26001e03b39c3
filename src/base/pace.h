#pragma once

namespace brawl {

// Passes of the game a second, at most: the flip paces the loop to it, online play steps its
// frames at it, and the frame rate is measured over as many passes of a match.
constexpr int kPassesPerSecond = 60;
constexpr double kPassMs = 1000.0 / kPassesPerSecond;

}  // namespace brawl
