#pragma once
// A scene file that reaches back into the shell: the layering check must refuse it.
#include "shell/shell_state.h"
