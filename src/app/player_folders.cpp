#include "app/player_folders.h"

#include <cstdlib>

#include "app/options.h"
#include "app/program_folder.h"

namespace brawl {

namespace {

// A relative path in the variable does not count: only an absolute one names a folder.
std::string BaseFolder(const char* variable, const char* below_home) {
  const char* base = std::getenv(variable);
  if (base != nullptr && base[0] == '/') return AsFolder(base);
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return {};
  return AsFolder(home) + below_home;
}

}  // namespace

std::string ConfigFolder(const Options& options) {
  if (!options.config_dir.empty()) return AsFolder(options.config_dir);
  if (options.headless) return {};
  const std::string base = BaseFolder("XDG_CONFIG_HOME", ".config/");
  return base.empty() ? base : base + "billboard-brawl/";
}

std::string ScreenshotFolder() {
  const std::string base = BaseFolder("XDG_DATA_HOME", ".local/share/");
  return base.empty() ? base : base + "billboard-brawl/screenshots/";
}

std::string StateFolder() {
  const std::string base = BaseFolder("XDG_STATE_HOME", ".local/state/");
  return base.empty() ? base : base + "billboard-brawl/";
}

}  // namespace brawl
