#pragma once
#include <string>

namespace brawl {

// The settings file: the wait after the start cue, then the two presets, both off.
void WriteEnvIni(const std::string& folder, int start_cue_ms);

}  // namespace brawl
