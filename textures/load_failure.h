#pragma once
// How the loaders report: a message box with no icon, then false.
#include <string>

#include "platform/platform.h"

inline bool LoadFailure(const std::string& text, const std::string& caption) {
  platform::ShowMessage(text, caption, platform::MB_OK);
  return false;
}

inline std::string Quoted(const std::string& name) { return "\"" + name + "\""; }
