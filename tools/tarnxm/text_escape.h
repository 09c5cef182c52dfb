#pragma once
// Module texts are bytes in no particular encoding; these make them safe to
// print. Bytes of 128 and more are read as Latin-1.
#include <string>
#include <string_view>

// Every byte as the character of that number, in UTF-8.
std::string Utf8FromLatin1(std::string_view text);
// For a terminal: UTF-8, with control characters shown as '.'.
std::string PrintableText(std::string_view text);
