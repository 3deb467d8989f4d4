#pragma once

// The shell opener moved to the foundation layer, so that subsystems (the
// exports) can open files too; this header keeps the shell's includes
// working.
#include "foundation/ShellOpener.h"
