#pragma once
// Where an image's bytes come from: a file on disk, or the program's resource
// named by the part of the file name before its first dot.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class TSourceStatus : std::uint8_t { Ok, ResourceNotFound, ResourceUnreadable, FileNotOpened, FileUnreadable };

struct TImageBytes {
  std::vector<std::uint8_t> FileData;  // owns the bytes read from a file
  std::span<const std::uint8_t> Data;
};

// "a.b.bmp" gives "a".
std::string ResourceNameOf(const std::string& name);

TSourceStatus ReadImageSource(const std::string& name, std::string_view resourceType, bool fromResource,
                              TImageBytes& bytes);
