// The layers as the folders promise: every include of the project's own headers points down
// (or across within a folder), the match rules reach the scene only for its frame type, and
// only the platform's back ends name SDL, GTK, fontconfig or ENet.
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

// What each folder of src/ may include besides itself.
const std::map<std::string, std::set<std::string>> kMayInclude = {
    {"platform", {}},
    {"platform/scene", {"platform"}},
    {"platform/gtk", {"platform"}},
    {"platform/sdl", {"platform", "platform/gtk"}},
    {"platform/headless", {"platform"}},
    {"platform/net", {"platform"}},
    {"sim", {"platform/scene/frame.h"}},
    {"sound", {"sim", "platform"}},
    {"input", {"platform"}},
    {"render", {"sim", "platform", "platform/scene"}},
    {"net", {"sim", "platform"}},
    {"game", {"net", "render", "sim", "sound", "input", "platform", "platform/scene"}},
    {"app",
     {"game", "net", "render", "sim", "sound", "input", "platform", "platform/scene", "platform/sdl",
      "platform/headless", "platform/net"}},
};

// System libraries that only these folders may name.
const std::map<std::string, std::set<std::string>> kLibraryOwners = {
    {"<SDL", {"platform", "platform/sdl", "platform/scene"}},
    {"<gtk", {"platform/gtk", "platform/sdl"}},
    {"<gdk", {"platform/gtk", "platform/sdl"}},
    {"<fontconfig", {"platform"}},
    {"<enet", {"platform/net"}},
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
