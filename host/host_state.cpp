// The process-wide host state that the window and dialog procedures reach without a context.
// Pairs with saver.h.
#include "host/saver.h"

HostState host;
