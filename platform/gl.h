#pragma once
// OpenGL 1.1 and GLU. On Windows their headers need the system's own first,
// which come in through the header that keeps their macros off this
// program's names.
#ifdef _WIN32
#include "platform/win32/windows_api.h"
#endif
#include <GL/gl.h>
#include <GL/glu.h>
