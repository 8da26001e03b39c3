// Feeds arbitrary bytes to the .x reader: it must either refuse them with a FatalError or
// hand back a mesh whose every index is in range and whose every vertex has texture
// coordinates. Seed corpus: fuzz/corpus/xfile/.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/fatal_error.h"
#include "formats/xfile_reader.h"

// libFuzzer calls the entry point by its C name, outside our namespace.
using namespace brawl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Mesh mesh;
  try {
    mesh = ParseXFile(text, "fuzz.x", "arena mesh");
  } catch (const FatalError&) {
    return 0;
  }
  if (mesh.materials.empty() || mesh.uv.size() != mesh.vertices.size()) std::abort();
  for (const Triangle& t : mesh.triangles) {
    for (uint32_t v : t.v)
      if (v >= mesh.vertices.size()) std::abort();
    if (t.material >= mesh.materials.size()) std::abort();
  }
  return 0;
}
