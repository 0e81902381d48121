#pragma once

#include <cstdint>

namespace heikosen {

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;

inline constexpr Rgb kBlack = 0x000000;
inline constexpr Rgb kWhite = 0xFFFFFF;
inline constexpr Rgb kRed = 0xFF0000;
inline constexpr Rgb kBlue = 0x0000FF;
inline constexpr Rgb kGrey = 0xC0C0C0;
inline constexpr Rgb kLightGreen = 0xC0FFC0;
inline constexpr Rgb kDarkGreen = 0x008000;
inline constexpr Rgb kBrightGreen = 0x00FF00;

// The 16-colour palette by number (0 black ... 15 bright white). Numbers outside
// 0..15 give black, so a stray colour number can never produce garbage on screen.
Rgb QBColor(int number);

}  // namespace heikosen
