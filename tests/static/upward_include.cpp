// Compiled with the include root of the vm layer by the test
// layer_refuses_upward_include: a layer below it is found, the launcher,
// above it, is not.
#include "common/text.h"
#include "launcher/command_line.h"
