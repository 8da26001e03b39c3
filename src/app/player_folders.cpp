#include "app/player_folders.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/options.h"
#include "app/program_folder.h"
#include "base/i18n.h"

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

bool PlayerFileThere(const std::string& path, const char* what, const char* instead) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found ||
      error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory)
    return false;
  if (error) {
    std::fprintf(stderr, "%s\n",
                 Fill(_("brawl: warning: {1}: {2}: cannot be reached: {3}; {4}"),
                      {what, path, error.message(), instead})
                     .c_str());
    return false;
  }
  return true;
}

std::string StateFolder() {
  const std::string base = BaseFolder("XDG_STATE_HOME", ".local/state/");
  return base.empty() ? base : base + "billboard-brawl/";
}

}  // namespace brawl
