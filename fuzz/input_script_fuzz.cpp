#include <cstdint>
#include <string_view>

#include "base/fatal_error.h"
#include "fuzz_checks.h"
#include "platform/headless/input_script.h"

// The first byte says how many joysticks are attached; the rest is the script.
// libFuzzer calls the entry point by its C name, outside our namespace.
using namespace brawl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int joysticks = data[0] % 3;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  InputScript script;
  try {
    script = ParseInputScript(text, joysticks, "input script");
  } catch (const UsageError& e) {
    CheckOneLine(e.what());
    return 0;
  }
  int64_t passes = 0;
  for (const ScriptStep& step : script.steps) {
    Require(step.count >= 1 && step.count <= 1000000000, "every count is 1 to 1000000000");
    for (int stick = joysticks; stick < 2; ++stick) {
      Require(step.held.joystick[stick] == 0, "no control of a joystick that is not attached");
    }
    passes += step.count;
  }
  Require(passes == script.passes, "passes add up the counts");

  // Walking the first passes must hand out the steps in order and then nothing.
  ScriptCursor cursor;
  int64_t walked = 0;
  while (walked < 1000 && walked < script.passes) {
    NextHeld(script, cursor);
    ++walked;
  }
  if (walked == script.passes) {
    const HeldInput after = NextHeld(script, cursor);
    Require(after.keys == 0 && after.joystick[0] == 0 && after.joystick[1] == 0,
            "nothing held after the end");
  }
  return 0;
}
