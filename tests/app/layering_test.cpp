// The layers as the folders promise: every include of the project's own headers points down
// (or across within a folder), the match rules include nothing but themselves, and only the
// platform's back ends, the file formats and the text name SDL, GTK, fontconfig, ENet or the
// router's libraries.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "support/run_brawl.h"

namespace brawl {
namespace {

namespace fs = std::filesystem;

// What each folder of src/ may include besides itself: every arrow points down.
const std::map<std::string, std::set<std::string>> kMayInclude = {
    {"base", {}},
    {"sim", {}},
    {"gfx", {"base"}},
    {"formats", {"gfx", "base"}},
    {"platform", {"base"}},
    {"platform/gtk", {"platform", "base"}},
    {"platform/sdl", {"platform", "platform/gtk", "formats", "gfx", "base"}},
    {"platform/headless", {"platform", "formats", "base"}},
    {"platform/net", {"platform", "base"}},
    {"platform/router", {"platform", "base"}},
    {"sound", {"sim", "platform", "base"}},
    {"input", {"platform"}},
    {"render", {"sim", "formats", "gfx", "platform", "base"}},
    {"net", {"sim", "platform", "base"}},
    {"rendezvous", {"net", "base"}},
    {"game", {"net", "render", "sound", "input", "sim", "formats", "gfx", "platform", "base"}},
    {"app",
     {"game", "net", "render", "sound", "input", "sim", "formats", "gfx", "platform", "platform/sdl",
      "platform/headless", "platform/net", "platform/router", "base"}},
};

// System libraries that only these folders may name.
const std::map<std::string, std::set<std::string>> kLibraryOwners = {
    {"<SDL", {"gfx", "formats", "platform/sdl"}},
    {"<gtk", {"platform/gtk", "platform/sdl"}},
    {"<gdk", {"platform/gtk", "platform/sdl"}},
    {"<fontconfig", {"gfx"}},
    {"<enet", {"platform/net"}},
    {"<miniupnpc", {"platform/router"}},
    {"<natpmp", {"platform/router"}},
};

std::string FolderOf(const std::string& include) {
  return include.substr(0, include.rfind('/'));
}

bool Allowed(const std::string& folder, const std::string& include) {
  const std::string target = FolderOf(include);
  if (target == folder) return true;
  const std::set<std::string>& allowed = kMayInclude.at(folder);
  return allowed.count(target) != 0 || allowed.count(include) != 0;
}

TEST(Layering, IncludesPointDownAndLibrariesStayInThePlatform) {
  const fs::path src = fs::path(SourceDir()) / "src";
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp") || entry.path().filename() == "main.cpp")
      continue;
    const std::string folder = fs::relative(entry.path().parent_path(), src).string();
    ASSERT_TRUE(kMayInclude.count(folder)) << "a folder the layers do not know: src/" << folder;
    ++files;
    std::ifstream in(entry.path());
    int number = 0;
    for (std::string line; std::getline(in, line);) {
      ++number;
      if (line.rfind("#include ", 0) != 0) continue;
      const std::string where = entry.path().string() + ":" + std::to_string(number) + ": " + line;
      const std::string name = line.substr(9);
      if (name[0] == '"') {
        EXPECT_TRUE(Allowed(folder, name.substr(1, name.size() - 2))) << where;
        continue;
      }
      for (const auto& [prefix, owners] : kLibraryOwners) {
        if (name.rfind(prefix, 0) == 0) {
          EXPECT_TRUE(owners.count(folder)) << where;
        }
      }
    }
  }
  EXPECT_GT(files, 50);
}

}  // namespace
}  // namespace brawl
