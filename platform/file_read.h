#pragma once
// Whole-file reads for the texture loader: the system's file calls on
// Windows, the C++ library's elsewhere.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class TFileRead : std::uint8_t { Ok, NotOpened, Unreadable };

// Reads the whole file into bytes. A file larger than maxBytes is not read
// and counts as unreadable.
TFileRead ReadWholeFile(const std::string& name, std::uint64_t maxBytes, std::vector<std::uint8_t>& bytes);

}  // namespace platform
