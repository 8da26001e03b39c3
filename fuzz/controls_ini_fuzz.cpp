#include <cstdint>
#include <map>
#include <string>

#include "app/controls_ini.h"
#include "base/fatal_error.h"
#include "fuzz_checks.h"

// libFuzzer calls the entry point by its C name, outside our namespace.
using namespace brawl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Controls controls;
  try {
    controls = ParseControls(text, "controls.ini");
  } catch (const FatalError& e) {
    CheckOneLine(e.what());
    return 0;
  }
  // What it accepts, it accepts whole: one key, one command.
  std::map<int, int> owners;
  for (const KeyPlaces& places : controls.keys) {
    for (const int place : {places.first, places.second}) {
      if (place != 0) Require(++owners[place] == 1, "no key plays two commands");
    }
  }
  return 0;
}
