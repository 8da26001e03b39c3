#include <cstdint>
#include <string>

#include "app/env_ini.h"
#include "base/fatal_error.h"
#include "fuzz_checks.h"

// libFuzzer calls the entry point by its C name, outside our namespace.
using namespace brawl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    ParseEnvIni(text, "env.ini");
  } catch (const FatalError& e) {
    CheckOneLine(e.what());
  }
  return 0;
}
