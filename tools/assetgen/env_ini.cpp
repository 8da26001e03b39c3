#include "env_ini.h"

#include <fstream>

#include "gen_error.h"

void WriteEnvIni(const std::string& folder, int start_cue_ms) {
  const std::string path = folder + "/env.ini";
  std::ofstream out(path, std::ios::binary);
  out << start_cue_ms << ",\"wait after the start cue, in milliseconds (the cue's length)\"\r\n"
      << "0,\"640 x 480 ticked at start (1 = yes)\"\r\n"
      << "0,\"frame-rate line ticked at start (1 = yes)\"\r\n";
  if (!out) throw GenError("cannot write", path, "write failed");
}
