// Framebuffer objects, where the context has them (OpenGL 3.0, or the ARB or EXT extension): a
// texture the renderer draws into instead of the window. OpenGL 1.1 has no such calls, so they are
// looked up by name through the platform. Used by wedge_copies.cpp.
#pragma once

#include <GL/gl.h>

struct FramebufferCalls {
    void(APIENTRY* genFramebuffers)(GLsizei count, GLuint* names) = nullptr;
    void(APIENTRY* deleteFramebuffers)(GLsizei count, const GLuint* names) = nullptr;
    void(APIENTRY* bindFramebuffer)(GLenum target, GLuint name) = nullptr;
    void(APIENTRY* framebufferTexture2D)(GLenum target, GLenum attachment, GLenum textureTarget, GLuint texture,
                                         GLint level) = nullptr;
    GLenum(APIENTRY* checkFramebufferStatus)(GLenum target) = nullptr;
};

// The values of the ARB and EXT extensions alike.
constexpr GLenum kFramebuffer = 0x8D40;
constexpr GLenum kFramebufferBinding = 0x8CA6;
constexpr GLenum kColorAttachment0 = 0x8CE0;
constexpr GLenum kFramebufferComplete = 0x8CD5;

// The calls for the current context; false, with `calls` left empty, where it has none.
bool loadFramebufferCalls(FramebufferCalls& calls);
