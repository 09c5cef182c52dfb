#include "tests/player/package_modules.h"

#include <cstdio>
#include <cstring>

std::vector<std::string> PackageModules() {
  std::vector<std::string> files;
  for (const char* package : {"heroes-sound-tracks", "tecnoballz-data", "freedroid-data"}) {
    const std::string command = std::string("dpkg -L ") + package + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) continue;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe)) {
      std::string path(line);
      while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
      for (const char* extension : {".xm", ".mod"})
        if (path.size() > std::strlen(extension) && path.ends_with(extension)) files.push_back(path);
    }
    pclose(pipe);
  }
  return files;
}
