#include "tools/tarnxm/module_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <sys/stat.h>

namespace {

// Far above any real module; a file past it is refused before it fills memory,
// and an endless one (a device, a pipe) is cut off there.
constexpr std::size_t MaxModuleBytes = std::size_t{256} << 20;

std::string ReadFailure() { return std::string("cannot read: ") + std::strerror(errno); }

}  // namespace

bool LoadModuleFile(const std::string& path, TTarnXMModule& module, std::string& error) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) {
    error = ReadFailure();
    return false;
  }
  struct stat status {};
  if (fstat(fileno(file.get()), &status) == 0 && S_ISREG(status.st_mode) &&
      static_cast<std::uint64_t>(status.st_size) > MaxModuleBytes) {
    error = "too large to be a module";
    return false;
  }
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[65536];
  std::size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    if (bytes.size() + count > MaxModuleBytes) {
      error = "too large to be a module";
      return false;
    }
    bytes.insert(bytes.end(), chunk, chunk + count);
  }
  // A directory opens, then fails on the first read.
  if (std::ferror(file.get())) {
    error = ReadFailure();
    return false;
  }
  if (!module.LoadFromMemory(bytes.data(), bytes.size())) {
    error = LoadErrorText(module.LoadError);
    return false;
  }
  return true;
}
