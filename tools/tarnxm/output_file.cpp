#include "tools/tarnxm/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

// A name no other file of this process or another takes: the target's
// name hidden, with the process and a count.
std::string TemporaryName(const std::string& target) {
  static std::atomic<unsigned> count{0};
  const std::filesystem::path path(target);
  const std::string name = "." + path.filename().string() + "." + std::to_string(getpid()) + "-" +
                           std::to_string(count.fetch_add(1)) + ".part";
  return (path.parent_path() / name).string();
}

}  // namespace

TOutputFile::~TOutputFile() { Discard(); }

bool TOutputFile::Fail() {
  Error = std::string("cannot write: ") + std::strerror(errno);
  return false;
}

void TOutputFile::Discard() {
  if (File) std::fclose(File);
  File = nullptr;
  if (!Temporary.empty()) unlink(Temporary.c_str());
  Temporary.clear();
}

bool TOutputFile::Open(const std::string& path) {
  Target = path;
  struct stat status {};
  if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    File = std::fopen(path.c_str(), "wb");
    return File ? true : Fail();
  }
  Temporary = TemporaryName(path);
  const int fd = open(Temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    Temporary.clear();
    return Fail();
  }
  File = fdopen(fd, "wb");
  if (File) return true;
  Fail();
  close(fd);
  Discard();
  return false;
}

bool TOutputFile::Write(const void* bytes, std::size_t size) {
  return std::fwrite(bytes, 1, size, File) == size ? true : Fail();
}

bool TOutputFile::Rewrite(std::uint64_t offset, const void* bytes, std::size_t size) {
  if (fseeko(File, static_cast<off_t>(offset), SEEK_SET) != 0 || std::fwrite(bytes, 1, size, File) != size ||
      fseeko(File, 0, SEEK_END) != 0)
    return Fail();
  return true;
}

bool TOutputFile::Commit() {
  const bool closed = std::fclose(File) == 0;
  File = nullptr;
  if (!closed) return Fail();
  if (!Temporary.empty() && std::rename(Temporary.c_str(), Target.c_str()) != 0) return Fail();
  Temporary.clear();
  return true;
}
