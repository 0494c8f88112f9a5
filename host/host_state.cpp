// The process-wide host state that the window and dialog procedures reach without a context.
// Pairs with saver.h and module.h.
#include "host/module.h"
#include "host/saver.h"

HostState host;

platform::InstanceHandle moduleInstance() { return host.instance; }
