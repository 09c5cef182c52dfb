#include "platform/resources.h"

namespace platform {

const TResource* FindProgramResource(std::string_view name, std::string_view type) {
  return FindResourceInSet(EmbeddedResources(), name, type);
}

}  // namespace platform
