#pragma once
#include <string>

// The two players' bullets and the blood splash, on see-through black.
void WriteShots(const std::string& folder);
