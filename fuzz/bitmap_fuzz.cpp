#include <cstdint>

#include "base/fatal_error.h"
#include "formats/bitmap.h"
#include "fuzz_checks.h"

// libFuzzer calls the entry point by its C name, outside our namespace.
using namespace brawl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = WriteInputFile(data, size, ".bmp");
  try {
    const Surface surface = LoadBitmap(path);
    Require(surface.width > 0 && surface.height > 0, "a picture has pixels");
    Require(surface.pixels.size() == static_cast<size_t>(surface.width) * static_cast<size_t>(surface.height),
            "one pixel per place");
  } catch (const FatalError& e) {
    CheckOneLine(e.what());
  }
  return 0;
}
