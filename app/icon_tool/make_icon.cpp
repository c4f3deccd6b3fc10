// Writes the executables' icon file from the same drawing as the tray icon:
//   paginor-icon <out.ico>
// scripts/make-icon.sh runs it; the file it writes is kept in the repository, and a test
// checks that the drawing still gives the same bytes.
#include <cstdio>
#include <fstream>

#include "app/icon_art.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: paginor-icon <out.ico>\n");
    return 2;
  }
  const auto bytes = paginor::app::IconFile({16, 20, 24, 32, 40, 48, 64, 256});
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "paginor-icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
