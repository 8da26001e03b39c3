#pragma once
#include <string>

namespace brawl {

// Writes the seven sounds; returns the length of the start cue in whole milliseconds.
int WriteSounds(const std::string& folder);

}  // namespace brawl
