#pragma once
// The scroller's text, from the TEXT resource: a signed 32-bit little-endian
// line count, then per line one length byte and that many character bytes.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

extern std::vector<std::string> ScrollerLines;
extern std::int32_t LineCount;

// Called with exit code 0 when the TEXT resource is missing: the intro cannot
// run without its text. Ends the process; tests put a recorder in its place.
extern void (*EndProcess)(int exitCode);

// Every read is bounded by the data: a negative count is 0, the count is cut
// to the records that start inside the data, and a line cut short keeps the
// bytes that are there.
std::vector<std::string> ParseScrollerText(std::span<const std::uint8_t> data);

void LoadScrollerText();
