#pragma once
// Embedded resources, found by name and type without regard to case, as the
// system's resource lookup does. Types are strings ("JPEG", "BMP", "TEXT") or,
// for RCDATA, the number 10 written as "#10".
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct TResource {
  std::string Name;
  std::string Type;
  std::span<const std::uint8_t> Data;
};

using TResourceSet = std::vector<TResource>;

// The resources compiled into this program from resources/.
const TResourceSet& EmbeddedResources();

// The set that FindResource searches: the embedded one unless a test chose
// another. The set must outlive its use.
void SetResources(const TResourceSet* resources);
const TResourceSet& Resources();

// The type string of a numeric resource type, "#10" for RCDATA.
std::string NumericResourceType(std::uint32_t type);

// nullptr when there is no resource of that name and type.
const TResource* FindResource(std::string_view name, std::string_view type);

}  // namespace platform
