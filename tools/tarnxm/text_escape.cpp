#include "tools/tarnxm/text_escape.h"

std::string Utf8FromLatin1(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 128) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | byte >> 6);
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

std::string PrintableText(std::string_view text) {
  std::string shown(text);
  for (char& c : shown)
    if (const auto byte = static_cast<unsigned char>(c); byte < 32 || byte == 127) c = '.';
  return Utf8FromLatin1(shown);
}
