#include "support/run_brawl.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

namespace brawl {

namespace fs = std::filesystem;

std::string BuildDir() {
  return BRAWL_BUILD_DIR;
}
std::string SourceDir() {
  return BRAWL_SOURCE_DIR;
}

std::string MakeTempDir() {
  // The folders go with the test program (what a failure keeps goes under the build folder).
  static struct Made {
    std::mutex lock;
    std::vector<fs::path> dirs;
    ~Made() {
      std::error_code ignored;
      for (const fs::path& dir : dirs) fs::remove_all(dir, ignored);
    }
  } made;
  static std::atomic<int> counter{0};
  const fs::path dir = fs::temp_directory_path() /
                       ("brawl-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::lock_guard<std::mutex> hold(made.lock);
  made.dirs.push_back(dir);
  return dir.string();
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::vector<std::string>> Rows(const std::string& name) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(ReadFile(SourceDir() + "/" + name));
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    for (size_t at; (at = line.find("\\n")) != std::string::npos;) line.replace(at, 2, "\n");
    std::vector<std::string> row(1);
    for (const char c : line) c == '\t' ? row.emplace_back() : row.back() += c;
    rows.push_back(row);
  }
  EXPECT_FALSE(rows.empty()) << "no rows in " << name;
  return rows;
}

static std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

RunResult RunShell(const std::string& command, const std::string& input) {
  const std::string dir = MakeTempDir();
  std::ofstream(dir + "/stdin") << input;
  const std::string line = "( " + command + " ) <" + Quote(dir + "/stdin") + " >" + Quote(dir + "/out") +
                           " 2>" + Quote(dir + "/err");
  const int status = std::system(line.c_str());
  const RunResult result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir + "/out"),
                         ReadFile(dir + "/err")};
  fs::remove_all(dir);
  return result;
}

RunResult RunBrawl(const std::vector<std::string>& args, const std::string& script, int timeout_seconds,
                   const std::string& folder) {
  std::string command = "cd " + Quote(folder.empty() ? BuildDir() : folder) + " && ";
  if (timeout_seconds > 0) command += "timeout -k 5 " + std::to_string(timeout_seconds) + " ";
  command += Quote(BRAWL_EXE);
  for (const auto& a : args) command += " " + Quote(a);
  return RunShell(command, script);
}

std::vector<nlohmann::json> RunHeadless(const std::string& script, const std::vector<std::string>& args) {
  const std::string dir = MakeTempDir();
  std::vector<std::string> all = {"--headless", "--script", "-", "--dump", dir + "/dump.jsonl"};
  all.insert(all.end(), args.begin(), args.end());
  const RunResult run = RunBrawl(all, script);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  std::vector<nlohmann::json> lines = ReadDump(dir + "/dump.jsonl");
  fs::remove_all(dir);
  return lines;
}

std::vector<nlohmann::json> ReadDump(const std::string& path) {
  std::vector<nlohmann::json> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  return lines;
}

nlohmann::json Shared(nlohmann::json line) {
  for (const char* own : {"Net", "Fps", "FpsFrameCount", "SoundBusy", "Sounds"}) line.erase(own);
  return line;
}

}  // namespace brawl
