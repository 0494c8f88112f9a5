// The flags word that Scene::render is handed each frame.
#pragma once

#include <cstdint>

// Bit 16: draw through the mirrors.
constexpr std::int32_t kMirrorFlag = 0x10000;
