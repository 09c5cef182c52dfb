#pragma once
// Module texts are bytes in no particular encoding; these make them safe to
// print. Bytes of 128 and more are read as Latin-1.
#include <string>
#include <string_view>

// For a terminal: UTF-8, with control characters shown as '.'.
std::string PrintableText(std::string_view text);
// A JSON string literal with its quotes, pure ASCII.
std::string JsonString(std::string_view text);
