#pragma once
// Loads a module that a test built in memory.
#include "player/module.h"
#include "tools/xm_writer/byte_writer.h"

inline bool Load(TTarnXMModule& module, const TBytes& bytes) {
  return module.LoadFromMemory(bytes.data(), bytes.size());
}
