#pragma once
// What the shell calls into the rest of the intro. The intro uses the real
// start-up, frame and shutdown; tests of the shell put counters in their place.
#include "scene/frame_input.h"

struct TIntroHooks {
  bool (*InitScene)();
  void (*DrawScene)(const TFrameInput& input);
  void (*ShutdownScene)();
};

TIntroHooks& IntroHooks();
void RestoreIntroHooks();
