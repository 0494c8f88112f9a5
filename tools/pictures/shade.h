// Small vector and colour helpers for drawing the pieces of the sprite sheet as functions of a point.
// Header only; used by pieces.cpp.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace shade {

constexpr float kPi = 3.14159265f;

struct Vec2 {
    float x;
    float y;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
inline float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float length(Vec2 a) { return std::sqrt(dot(a, a)); }
// Turns p by `angle` radians counter-clockwise.
inline Vec2 rotate(Vec2 p, float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    return {c * p.x - s * p.y, s * p.x + c * p.y};
}

struct Colour {
    float r;
    float g;
    float b;
};
inline Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Colour operator*(Colour a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline Colour mix(Colour a, Colour b, float t) { return a * (1.0f - t) + b * t; }

inline float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }
inline float mix(float a, float b, float t) { return a + (b - a) * t; }
inline float smoothstep(float e0, float e1, float v) {
    float t = clamp01((v - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}
inline float fract(float v) { return v - std::floor(v); }

// Coverage of a shape from its signed distance (negative inside), with an edge `soft` units wide.
inline float inside(float distance, float soft) { return smoothstep(soft, -soft, distance); }

// Hue, saturation and value, each 0 to 1.
inline Colour hsv(float h, float s, float v) {
    h = fract(h) * 6.0f;
    float r = clamp01(std::fabs(h - 3.0f) - 1.0f);
    float g = clamp01(2.0f - std::fabs(h - 2.0f));
    float b = clamp01(2.0f - std::fabs(h - 4.0f));
    return mix(Colour{1, 1, 1}, Colour{r, g, b}, s) * v;
}

// Smooth value noise on a unit lattice, 0 to 1; fixed, so the pictures come out the same every run.
inline float hash(std::int32_t x, std::int32_t y) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}
inline float noise(Vec2 p) {
    float fx = std::floor(p.x), fy = std::floor(p.y);
    std::int32_t ix = static_cast<std::int32_t>(fx), iy = static_cast<std::int32_t>(fy);
    float tx = smoothstep(0, 1, p.x - fx), ty = smoothstep(0, 1, p.y - fy);
    return mix(mix(hash(ix, iy), hash(ix + 1, iy), tx), mix(hash(ix, iy + 1), hash(ix + 1, iy + 1), tx), ty);
}

// Distance from p to the segment a-b.
inline float segment(Vec2 p, Vec2 a, Vec2 b) {
    Vec2 pa = p - a, ba = b - a;
    float h = clamp01(dot(pa, ba) / dot(ba, ba));
    return length(pa - ba * h);
}

// Approximate signed distance to an axis-aligned ellipse of radii (rx, ry) about the origin.
inline float ellipse(Vec2 p, float rx, float ry) {
    float k = length(Vec2{p.x / rx, p.y / ry});
    return (k - 1.0f) * std::min(rx, ry);
}

}  // namespace shade
