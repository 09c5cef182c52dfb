#pragma once
// The program's resources, found by name and type without regard to case, as
// the system's resource lookup does. Types are strings ("JPEG", "BMP", "TEXT")
// or, for RCDATA, the number 10 written as "#10". On Windows they are the
// executable's own resources; elsewhere they are compiled in.
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

// The resources compiled into this program from resources/ (not on Windows).
const TResourceSet& EmbeddedResources();

// A set for FindResource to search instead of the program's own resources, or
// nullptr for those again. The set must outlive its use.
void SetResources(const TResourceSet* resources);

// The type string of a numeric resource type, "#10" for RCDATA.
std::string NumericResourceType(std::uint32_t type);

// nullptr when there is no resource of that name and type.
const TResource* FindResource(std::string_view name, std::string_view type);
const TResource* FindResourceInSet(const TResourceSet& set, std::string_view name, std::string_view type);
// The program's own resources, whatever set a test chose.
const TResource* FindProgramResource(std::string_view name, std::string_view type);

}  // namespace platform
