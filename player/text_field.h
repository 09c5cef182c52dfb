#pragma once
// Fixed-width text fields of module files.
#include <cstdint>
#include <span>
#include <string>

// The field up to its first zero byte (or its full width).
std::string CutAtZero(std::span<const std::uint8_t> field);
// The same, then without the characters of code 32 or less at both ends.
std::string TrimmedText(std::span<const std::uint8_t> field);
