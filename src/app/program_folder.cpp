#include "app/program_folder.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "base/fatal_error.h"
#include "base/i18n.h"

namespace brawl {

std::string AsFolder(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

std::string ProgramFolder() {
  // readlink does not say whether it truncated, so grow until the name fits.
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) throw Fatal(_("cannot find the program folder"), "/proc/self/exe", std::strerror(errno));
    if (static_cast<size_t>(n) < buffer.size()) {
      std::string exe(buffer.data(), static_cast<size_t>(n));
      const size_t slash = exe.rfind('/');
      if (slash == std::string::npos) {
        throw Fatal(_("cannot find the program folder"), "/proc/self/exe",
                    Fill(_("'{1}' is not an absolute path"), {exe}));
      }
      // The root folder keeps its single '/'.
      return exe.substr(0, slash + 1);
    }
    if (buffer.size() >= (size_t{1} << 20)) {
      throw Fatal(_("cannot find the program folder"), "/proc/self/exe", _("path too long"));
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace brawl
