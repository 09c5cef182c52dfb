#include "shell/intro_hooks.h"

#include "scene/frame.h"
#include "shell/init_scene.h"

namespace {
constexpr TIntroHooks RealHooks{InitScene, DrawScene, ShutdownScene};
TIntroHooks Hooks = RealHooks;
}  // namespace

TIntroHooks& IntroHooks() { return Hooks; }
void RestoreIntroHooks() { Hooks = RealHooks; }
