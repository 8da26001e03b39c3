#pragma once
#include <array>
#include <string>
#include <vector>

namespace brawl {

// The attached devices in the order to open them, so that each player gets the pad the
// controls file chose for them (its place in the list from 1, its name or its GUID, case
// ignored): player P's pad at place P, the others after it in SDL's order. A choice that
// matches no attached pad is warned about once on stderr and left out.
std::vector<int> PadOrder(const std::array<std::string, 2>& choices);

}  // namespace brawl
