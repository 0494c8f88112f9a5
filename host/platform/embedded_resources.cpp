// The resource calls of host/platform.h over the pictures compiled into the Linux builds
// (resources/embedded.h): a resource handle is the address of its table entry. Each platform finds
// its own entries with findResource; these three read any entry of that form.
#include "host/platform.h"
#include "resources/embedded.h"

namespace platform {

std::uint32_t sizeofResource(InstanceHandle, ResourceHandle resource) {
    return resource ? reinterpret_cast<const EmbeddedResource*>(resource)->size : 0;
}
ResourceData loadResource(InstanceHandle, ResourceHandle resource) { return resource; }
const void* lockResource(ResourceData data) {
    return data ? reinterpret_cast<const EmbeddedResource*>(data)->data : nullptr;
}

}  // namespace platform
