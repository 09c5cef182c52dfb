#pragma once
#include <memory>

class TTarnXM;

// The intro's music, from start-up to shutdown.
extern std::unique_ptr<TTarnXM> Player;

// Fixed GL state, textures, mesh, scroller and music; true when music plays.
bool InitScene();
// The OpenGL state that stays fixed for the whole run.
void SetFixedGLState();
// Stops and frees what InitScene started that the context does not own.
void ShutdownScene();
