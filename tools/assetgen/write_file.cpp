#include "write_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "gen_error.h"

namespace brawl {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) throw GenError("cannot write", path, std::strerror(errno));
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
    throw GenError("cannot write", path, std::strerror(errno));
  FILE* raw = file.release();
  if (std::fclose(raw) != 0) throw GenError("cannot write", path, std::strerror(errno));
}

}  // namespace brawl
