// Pure pixel rules of the texture utilities: packing a colour and complementing rows
// of pixels, for the SDL shells in platform/texture.cpp.
#pragma once
#include <cstdint>

// The four bytes packed in memory order red, green, blue, alpha (red the low byte):
// the layout of Color, of the palette entries and of an ABGR8888 pixel.
constexpr uint32_t RGBA(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | uint32_t(a) << 24;
}

// Writes the bitwise complement (alpha included) of the w x h pixels of src, rows w
// pixels long, into dst, whose rows start pitch bytes apart.
void InvertPixels(const uint32_t* src, int32_t w, int32_t h, void* dst, int32_t pitch);
