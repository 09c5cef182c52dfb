#include "platform/file_read.h"

#include <fstream>

namespace platform {

TFileRead ReadWholeFile(const std::string& name, std::uint64_t maxBytes, std::vector<std::uint8_t>& bytes) {
  std::ifstream file(name, std::ios::binary);
  if (!file) return TFileRead::NotOpened;
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0 || static_cast<std::uint64_t>(size) > maxBytes) return TFileRead::Unreadable;
  file.seekg(0, std::ios::beg);
  bytes.resize(static_cast<std::size_t>(size));
  if (!file.read(reinterpret_cast<char*>(bytes.data()), size)) return TFileRead::Unreadable;
  return TFileRead::Ok;
}

}  // namespace platform
