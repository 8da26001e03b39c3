#include "env_ini.h"

#include "write_file.h"

namespace brawl {

void WriteEnvIni(const std::string& folder, int start_cue_ms) {
  WriteFile(folder + "/env.ini", std::to_string(start_cue_ms) +
                                     ",\"wait after the start cue, in milliseconds (the cue's length)\"\r\n"
                                     "0,\"640 x 480 ticked at start (1 = yes)\"\r\n"
                                     "0,\"frame-rate line ticked at start (1 = yes)\"\r\n");
}

}  // namespace brawl
