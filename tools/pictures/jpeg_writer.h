// Writes 8-bit pictures as baseline JFIF files with libjpeg's compressor.
// Pairs with jpeg_writer.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `components` is 3 (R, G, B) or 1 (grey). Returns false with a message on standard error.
bool writeJpeg(const std::string& path, const std::vector<std::uint8_t>& samples, std::int32_t width,
               std::int32_t height, int components, int quality);
