#include "textures/image_source.h"

#include <fstream>

#include "platform/resources.h"
#include "textures/image.h"

namespace {

// Every image the loaders accept fits well inside this; a larger file is not
// read at all.
constexpr std::uint64_t MaxFileBytes = MaxImageBytes + (std::uint64_t{1} << 20);

TSourceStatus ReadFile(const std::string& name, std::vector<std::uint8_t>& bytes) {
  std::ifstream file(name, std::ios::binary);
  if (!file) return TSourceStatus::FileNotOpened;
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0 || static_cast<std::uint64_t>(size) > MaxFileBytes) return TSourceStatus::FileUnreadable;
  file.seekg(0, std::ios::beg);
  bytes.resize(static_cast<std::size_t>(size));
  if (!file.read(reinterpret_cast<char*>(bytes.data()), size)) return TSourceStatus::FileUnreadable;
  return TSourceStatus::Ok;
}

}  // namespace

std::string ResourceNameOf(const std::string& name) { return name.substr(0, name.find('.')); }

TSourceStatus ReadImageSource(const std::string& name, std::string_view resourceType, bool fromResource,
                              TImageBytes& bytes) {
  if (!fromResource) {
    const TSourceStatus status = ReadFile(name, bytes.FileData);
    bytes.Data = bytes.FileData;
    return status;
  }
  const platform::TResource* resource = platform::FindResource(ResourceNameOf(name), resourceType);
  if (!resource) return TSourceStatus::ResourceNotFound;
  // A resource whose data cannot be had counts as not loaded.
  if (!resource->Data.data()) return TSourceStatus::ResourceUnreadable;
  bytes.Data = resource->Data;
  return TSourceStatus::Ok;
}
