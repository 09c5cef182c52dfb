#include "tools/tarnxm/module_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

bool LoadModuleFile(const std::string& path, TTarnXMModule& module, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = std::string("cannot read: ") + std::strerror(errno);
    return false;
  }
  const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
  if (file.bad()) {
    error = "cannot read: read error";
    return false;
  }
  if (!module.LoadFromMemory(bytes.data(), bytes.size())) {
    error = LoadErrorText(module.LoadError);
    return false;
  }
  return true;
}
