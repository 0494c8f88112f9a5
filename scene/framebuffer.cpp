// Looking up the framebuffer-object calls of the current context. Pairs with framebuffer.h.
#include "scene/framebuffer.h"

#include <cstring>
#include <string>

#include "host/platform.h"

namespace {

// Whether the space-separated `extensions` lists `name` as a whole word.
bool hasExtension(const char* extensions, const char* name) {
    const std::size_t length = std::strlen(name);
    for (const char* at = extensions; (at = std::strstr(at, name)) != nullptr; at += length) {
        const bool starts = at == extensions || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) return true;
    }
    return false;
}

template <typename Call>
bool lookUp(Call& call, const std::string& name) {
    call = reinterpret_cast<Call>(platform::getGlProcAddress(name.c_str()));
    return call != nullptr;
}

// Whether `extensions` (GL_EXTENSIONS, may be null) offers framebuffer objects, and under which
// names: the ARB's (also the core names of 3.0) as they are, the EXT's with the suffix "EXT".
enum class FramebufferNames { None, Core, Ext };

FramebufferNames framebufferNamesFor(const char* extensions) {
    if (!extensions) return FramebufferNames::None;
    if (hasExtension(extensions, "GL_ARB_framebuffer_object")) return FramebufferNames::Core;
    if (hasExtension(extensions, "GL_EXT_framebuffer_object")) return FramebufferNames::Ext;
    return FramebufferNames::None;
}

}  // namespace

bool loadFramebufferCalls(FramebufferCalls& calls) {
    calls = FramebufferCalls{};
    // A name the context does not offer may still resolve to a stub (GLX resolves any name), so
    // the extension string decides.
    const FramebufferNames names = framebufferNamesFor(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
    if (names == FramebufferNames::None) return false;
    const std::string suffix = names == FramebufferNames::Ext ? "EXT" : "";
    const bool all = lookUp(calls.genFramebuffers, "glGenFramebuffers" + suffix) &&
                     lookUp(calls.deleteFramebuffers, "glDeleteFramebuffers" + suffix) &&
                     lookUp(calls.bindFramebuffer, "glBindFramebuffer" + suffix) &&
                     lookUp(calls.framebufferTexture2D, "glFramebufferTexture2D" + suffix) &&
                     lookUp(calls.checkFramebufferStatus, "glCheckFramebufferStatus" + suffix);
    if (!all) calls = FramebufferCalls{};
    return all;
}
