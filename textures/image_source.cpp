#include "textures/image_source.h"

#include "platform/file_read.h"
#include "platform/resources.h"
#include "textures/image.h"

namespace {

// Every image the loaders accept fits well inside this; a larger file is not
// read at all.
constexpr std::uint64_t MaxFileBytes = MaxImageBytes + (std::uint64_t{1} << 20);

TSourceStatus ReadFile(const std::string& name, std::vector<std::uint8_t>& bytes) {
  switch (platform::ReadWholeFile(name, MaxFileBytes, bytes)) {
    case platform::TFileRead::Ok: return TSourceStatus::Ok;
    case platform::TFileRead::NotOpened: return TSourceStatus::FileNotOpened;
    case platform::TFileRead::Unreadable: break;
  }
  return TSourceStatus::FileUnreadable;
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
