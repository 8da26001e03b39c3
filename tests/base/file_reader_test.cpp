#include "base/file_reader.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/run_brawl.h"

namespace brawl {

namespace fs = std::filesystem;

namespace {

constexpr int64_t kMax = 1024;
constexpr int64_t kMaxText = 1 << 20;  // more than one read takes, so that lines are refused first

// A read that blocks ends the test program (SIGALRM) instead of hanging it.
struct Deadline {
  Deadline() {
    alarm(20);
    signal(SIGPIPE, SIG_IGN);  // a writer whose reader gave up sees an error, not a signal
  }
  ~Deadline() { alarm(0); }
};

class FileReader : public ::testing::Test {
 protected:
  void TearDown() override {
    for (std::thread& writer : writers_) writer.join();
    fs::remove_all(dir_);
  }

  std::string Regular(const std::string& name, const std::string& text) {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << text;
    return dir_ + "/" + name;
  }
  // A named pipe that a writer opens only once a reader has, as a script started beside the
  // game would: the reader must wait for it, briefly.
  std::string FedPipe(const std::string& name, const std::string& text) {
    const std::string path = dir_ + "/" + name;
    EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
    writers_.emplace_back([path, text] { std::ofstream(path) << text; });
    return path;
  }
  std::string Socket() {
    const std::string path = dir_ + "/socket";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    socket_ = socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_EQ(bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    return path;
  }
  std::string Sparse(int64_t size) {
    const std::string path = Regular("sparse", "");
    fs::resize_file(path, static_cast<uintmax_t>(size));
    return path;
  }
  ~FileReader() override {
    if (socket_ >= 0) close(socket_);
  }

  std::string dir_ = MakeTempDir();
  int socket_ = -1;
  std::vector<std::thread> writers_;
};

// A sparse gigabyte, folders and named pipes with no writer are rows of the data folder test,
// through each reader of the game.
TEST_F(FileReader, WholeFilesOnlyFromRegularFilesOfTheirSize) {
  const Deadline deadline;
  struct Case {
    std::string what, path, reason;
    bool at_open = false;
  };
  for (const Case& c : std::vector<Case>{
           {"regular", Regular("a.txt", "abc\n"), ""},
           {"empty", Regular("e.txt", ""), ""},
           {"just fits", Regular("fits", std::string(kMax, 'x')), ""},
           {"one byte over", Regular("over", std::string(kMax + 1, 'x')),
            "too large: 1025 bytes, more than 1 KiB"},
           {"endless device", "/dev/zero", "is a device"},
           {"socket", Socket(), "is a socket"},
           {"missing", dir_ + "/absent", "No such file or directory", true},
           // Its size says 0, yet it has text: what is read must be what was measured.
           {"grows while read", "/proc/self/status", "grew while it was read, past its 0 bytes"},
       }) {
    std::string bytes = "old";
    const FileFailure failure = ReadWholeFile(c.path, kMax, bytes);
    EXPECT_EQ(failure.reason, c.reason) << c.what;
    EXPECT_EQ(failure.at_open, c.at_open) << c.what;
    if (c.reason.empty()) {
      std::ifstream in(c.path, std::ios::binary);
      EXPECT_EQ(bytes, std::string(std::istreambuf_iterator<char>(in), {})) << c.what;
    }
  }
}

TEST_F(FileReader, LinesAsTheyArriveWithinTheirBounds) {
  const Deadline deadline;
  struct Case {
    std::string what, path, reason;
    int64_t line = 0;
    std::vector<std::string> lines = {};
  };
  for (const Case& c : std::vector<Case>{
           {"regular", Regular("s.txt", "1 Up\n\n2 Down"), "", 0, {"1 Up", "", "2 Down"}},
           {"pipe with a writer", FedPipe("fed", "1 Up\n2\n"), "", 0, {"1 Up", "2"}},
           {"empty device", "/dev/null", "", 0, {}},
           {"line just fits", Regular("fits", std::string(80, 'x') + "\n"), "", 0, {std::string(80, 'x')}},
           {"overlong line",
            Regular("long", "1\n2\n" + std::string(81, 'x') + "\n"),
            "longer than 80 characters",
            3,
            {"1", "2"}},
           {"endless line", "/dev/zero", "longer than 80 characters", 1},
           {"too large a file", Sparse(kMaxText + 1), "too large: 1048577 bytes, more than 1 MiB"},
           {"too much from a pipe", FedPipe("flood", std::string(kMaxText + 1, '\n')),
            "more than 1 MiB of text"},
           {"folder", dir_, "is a directory"},
           {"socket", Socket(), "is a socket"},
           {"missing", dir_ + "/absent", "No such file or directory"},
       }) {
    std::vector<std::string> lines;
    const FileFailure failure =
        ReadLines(c.path, 80, kMaxText, [&](std::string_view l) { lines.emplace_back(l); });
    EXPECT_EQ(failure.reason, c.reason) << c.what;
    EXPECT_EQ(failure.line, c.line) << c.what;
    if (c.reason.empty() || c.line > 0) {
      EXPECT_EQ(lines, c.lines) << c.what;  // the lines before a refused one were handed over
    }
  }
}

}  // namespace

}  // namespace brawl
