// An OpenGL compatibility context with an offscreen colour buffer, needing no display: EGL on Mesa
// (surfaceless platform, pbuffer surface). Used by the headless renderer, the GL tests and the
// benchmarks; the saver itself draws into its window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class OffscreenGl {
public:
    OffscreenGl() = default;
    ~OffscreenGl();
    OffscreenGl(const OffscreenGl&) = delete;
    OffscreenGl& operator=(const OffscreenGl&) = delete;

    // Creates the context with a width x height RGBA pbuffer and makes it current. On failure
    // returns false and error() says why.
    bool create(std::int32_t width, std::int32_t height);
    // Reads the colour buffer, top row first, 4 bytes (R, G, B, A) per pixel.
    std::vector<std::uint8_t> readPixels() const;
    void swap();
    // eglGetProcAddress: a call beyond OpenGL 1.1 of the current context.
    static void* procAddress(const char* name);
    const std::string& error() const { return error_; }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

private:
    void* display_ = nullptr;
    void* surface_ = nullptr;
    void* context_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::string error_;
};
