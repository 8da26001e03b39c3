#pragma once
#include <string>

namespace brawl {

// Keys by SDL's names for key positions ("Up", "Keypad 3", "S", "Return"), case ignored.
// 0: no key has that name.
int ScancodeOfKeyName(const std::string& name);
// "" for a scancode without a name.
std::string KeyNameOf(int scancode);

}  // namespace brawl
