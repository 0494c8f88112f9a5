// Writing one rendered frame as an 8-bit RGB PNG file with libpng. Pairs with png_writer.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `rgba` holds width x height pixels, top row first, 4 bytes each; the alpha is dropped. On failure
// returns false and `error` says why.
bool writePng(const std::string& path, const std::vector<std::uint8_t>& rgba, std::int32_t width, std::int32_t height,
              std::string& error);
