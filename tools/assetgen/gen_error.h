#pragma once
#include <stdexcept>
#include <string>

namespace brawl {

// Any failure to make a data file: "what failed: file: reason".
struct GenError : std::runtime_error {
  GenError(const std::string& what, const std::string& where, const std::string& why)
      : std::runtime_error(what + ": " + where + ": " + why) {}
};

}  // namespace brawl
