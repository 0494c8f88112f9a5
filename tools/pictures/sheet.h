// Samples the fifteen pieces into the 1024 x 1024 sprite sheet and its mask, and draws the logo.
// Pairs with sheet.cpp and logo.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GreyPicture {
    std::int32_t width;
    std::int32_t height;
    std::vector<std::uint8_t> samples;  // one byte per pixel, top row first
};

struct SpriteSheet {
    std::int32_t width;
    std::int32_t height;
    std::vector<std::uint8_t> colour;  // R, G, B per pixel, top row first
    GreyPicture mask;
};

SpriteSheet drawSpriteSheet();

// The word MORVANE, spaced out across a 512 x 32 picture, from the TrueType font at `fontPath`.
// Returns false with a message on standard error when the font cannot be used.
bool drawLogo(const std::string& fontPath, GreyPicture& logo);
