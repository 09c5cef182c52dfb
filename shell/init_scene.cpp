#include "shell/init_scene.h"

#include <GL/gl.h>

#include "scene/scroller.h"
#include "shell/shell_state.h"

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
  return false;
}

void ShutdownScene() {}
