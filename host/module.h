// The module handle the program was started with, for code below the host (the picture loaders'
// embedded data) that needs nothing else of it. Defined in host_state.cpp.
#pragma once

#include "host/platform.h"

platform::InstanceHandle moduleInstance();
