#pragma once
// The build installed into a fresh temporary prefix, as a player's machine would have it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/run_brawl.h"

namespace brawl {

inline std::string InstallIntoTempPrefix() {
  const std::string prefix = MakeTempDir();
  const std::string command =
      "cmake --install '" + BuildDir() + "' --prefix '" + prefix + "' >'" + prefix + ".log' 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "see " << prefix << ".log";
  return prefix;
}

}  // namespace brawl
