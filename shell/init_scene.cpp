#include "shell/init_scene.h"

#include "platform/gl.h"
#include "platform/resources.h"
#include "platform/win_types.h"
#include "player/output/player.h"
#include "resources/intro_scripts.h"
#include "scene/font.h"
#include "scene/mesh_generator.h"
#include "scene/scroller.h"
#include "scene/scroller_text.h"
#include "scene/texture_generator.h"
#include "shell/shell_state.h"
#include "textures/texture_loader.h"

std::unique_ptr<TTarnXM> Player;

void SetFixedGLState() {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glShadeModel(GL_SMOOTH);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
}

bool InitScene() {
  ScrollMode = ScrollForward;
  TopLine = -40;
  SetFixedGLState();
  // A texture that fails to load has said so; the intro runs without it.
  LoadTexture("logo.jpg", LogoTexture, true);
  LoadTexture("font.bmp", FontTexture, true);
  GeneratedTexture = GenerateTexture(IntroTextureScript());
  MeshList = GenerateMesh(IntroMeshScript());
  BuildGlyphTable();
  LoadScrollerText();
  Player = TTarnXM::Create(44100, 2048, true);
  Player->Renderer.SetInterpolation(TTarnXMInterpolation::Sinc);
  Player->Renderer.SetClipping(true);
  Player->Renderer.SetMasterVolume(128);
  // Music that does not load leaves the intro silent.
  Player->LoadFromResource("msx", platform::NumericResourceType(platform::RT_RCDATA));
  return Player->Play();
}

void ShutdownScene() {
  if (!Player) return;
  Player->Stop();
  Player.reset();
}
