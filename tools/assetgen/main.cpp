#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: assetgen OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::ofstream(folder + "/env.ini", std::ios::binary) << "1000,wait after the start cue (ms)\r\n0,high resolution preset\r\n0,frame rate preset\r\n";
  return 0;
}
