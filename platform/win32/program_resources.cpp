#include <deque>
#include <string>
#include <utility>

#include "platform/resources.h"
#include "platform/win32/windows_api.h"

namespace platform {
namespace {

// Each resource is kept here once found, under the name and type it was first
// asked for, so the pointers handed out stay valid; the system's resource
// data lives as long as the module.
std::deque<std::pair<HRSRC, TResource>> Found;

}  // namespace

// The executable's own resources. The system's lookup ignores case and reads
// a type "#10" as the number 10 (RCDATA).
const TResource* FindProgramResource(std::string_view name, std::string_view type) {
  const std::string nameText(name);
  const std::string typeText(type);
  const HRSRC info = FindResourceA(nullptr, nameText.c_str(), typeText.c_str());
  if (!info) return nullptr;
  for (const auto& [handle, resource] : Found)
    if (handle == info) return &resource;
  const HGLOBAL loaded = LoadResource(nullptr, info);
  const DWORD size = SizeofResource(nullptr, info);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  TResource& resource = Found.emplace_back(info, TResource{nameText, typeText, {}}).second;
  if (data) resource.Data = {static_cast<const std::uint8_t*>(data), size};
  return &resource;
}

}  // namespace platform
