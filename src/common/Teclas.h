#pragma once
// Control characters the key filters act on, as a typed character carries them.

inline constexpr char16_t kBackspace = 8;
inline constexpr char16_t kEnter = 13;
inline constexpr char16_t kEsc = 27;
