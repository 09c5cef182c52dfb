#pragma once
// An engine file that draws: the layering check must refuse it.
#include <GL/gl.h>
