#pragma once
#include <string>

namespace brawl {

// The two players' bullets and the blood splash, on see-through black.
void WriteShots(const std::string& folder);

}  // namespace brawl
