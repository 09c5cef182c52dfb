#include "platform/resources.h"

#include <algorithm>
#include <cctype>

namespace platform {
namespace {

const TResourceSet* CurrentResources = nullptr;

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

}  // namespace

void SetResources(const TResourceSet* resources) { CurrentResources = resources; }

std::string NumericResourceType(std::uint32_t type) {
  std::string text = "#";
  text += std::to_string(type);
  return text;
}

const TResource* FindResourceInSet(const TResourceSet& set, std::string_view name, std::string_view type) {
  for (const TResource& resource : set)
    if (SameText(resource.Name, name) && SameText(resource.Type, type)) return &resource;
  return nullptr;
}

const TResource* FindResource(std::string_view name, std::string_view type) {
  return CurrentResources ? FindResourceInSet(*CurrentResources, name, type) : FindProgramResource(name, type);
}

}  // namespace platform
