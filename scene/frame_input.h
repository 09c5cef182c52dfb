#pragma once
// What one frame of the scene is drawn from. The shell builds it before each
// frame; the scene reads nothing of the shell's own.
#include <cstdint>

enum TScrollMode : std::uint8_t { ScrollBackward = 0, ScrollForward = 1, ScrollPaused = 2 };

// The keys the scene reads, true while held: F5 hides the scroller, Up and
// Down speed it up in their own direction.
struct TFrameKeys {
  bool F5 = false;
  bool Up = false;
  bool Down = false;
};

struct TFrameInput {
  std::int32_t SceneTime = 0;
  TFrameKeys Keys;
  TScrollMode ScrollMode = ScrollBackward;
  // 0 for a texture that did not load or a mesh not made: drawn without it.
  std::uint32_t LogoTexture = 0;
  std::uint32_t FontTexture = 0;
  std::uint32_t GeneratedTexture = 0;
  std::uint32_t MeshList = 0;
};
