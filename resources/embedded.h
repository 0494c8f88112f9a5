// The pictures compiled into the Linux binaries: a table of named byte arrays generated at build time
// from the JPEG files in this folder. Windows carries the same files as RCDATA resources instead.
#pragma once

#include <cstdint>

struct EmbeddedResource {
    const char* name;
    const unsigned char* data;
    std::uint32_t size;
};

// Returns null for a name that is not embedded.
const EmbeddedResource* findEmbeddedResource(const char* name);
