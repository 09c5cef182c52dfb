#pragma once
// What the shell calls into the rest of the intro. The intro uses the real
// start-up, frame and shutdown; tests of the shell put counters in their place.
struct TIntroHooks {
  bool (*InitScene)();
  void (*DrawScene)();
  void (*ShutdownScene)();
};

TIntroHooks& IntroHooks();
void RestoreIntroHooks();
