#pragma once

// Fixed GL state, textures, mesh, scroller and music; true when music plays.
bool InitScene();
// Stops and frees what InitScene started that the context does not own.
void ShutdownScene();
