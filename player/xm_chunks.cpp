#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string_view>

#include "player/text_field.h"
#include "player/xm_loader.h"

namespace {

constexpr std::int64_t ChunkHeaderSize = 8;
constexpr std::int64_t PatternNameSize = 32;
constexpr std::int64_t MaxPatternNamesSize = 255 * PatternNameSize;
constexpr std::int64_t ChannelNameSize = 20;

// Each reader returns false on a short read, which ends the chunk reading.

bool ReadText(TTarnXMSong& song, TByteReader& reader, std::int64_t length) {
  const std::span<const std::uint8_t> bytes = reader.Take(length);
  song.Comment.clear();
  for (const std::uint8_t byte : bytes) {
    song.Comment += static_cast<char>(byte);
    // Lines end in a lone carriage return; the comment keeps CR LF.
    if (byte == 13) song.Comment += '\n';
  }
  return static_cast<std::int64_t>(bytes.size()) == length;
}

bool ReadMidiConfig(TTarnXMSong& song, TByteReader& reader, std::int64_t length) {
  if (length != static_cast<std::int64_t>(song.MidiConfig.size())) return true;
  const std::span<const std::uint8_t> bytes = reader.Take(length);
  if (static_cast<std::int64_t>(bytes.size()) != length) return false;
  std::copy(bytes.begin(), bytes.end(), song.MidiConfig.begin());
  song.MidiConfigLoaded = true;
  return true;
}

bool ReadPatternNames(TTarnXMSong& song, TByteReader& reader, std::int64_t length) {
  if (length < PatternNameSize || length > MaxPatternNamesSize) return true;
  for (std::int64_t k = 0; k < length / PatternNameSize; ++k) {
    std::array<std::uint8_t, PatternNameSize> name;
    if (reader.ReadBytes(name.data(), PatternNameSize) < PatternNameSize) return false;
    song.Patterns[k].Name = TrimmedText(name);
  }
  return true;
}

bool ReadChannelNames(TTarnXMSong& song, TByteReader& reader, std::int64_t length) {
  if (length < ChannelNameSize || length > song.NumChannels * ChannelNameSize) return true;
  for (std::int64_t k = 0; k < length / ChannelNameSize; ++k) {
    std::array<std::uint8_t, ChannelNameSize> name;
    if (reader.ReadBytes(name.data(), ChannelNameSize) < ChannelNameSize) return false;
    song.ChannelSettings[k].Name = TrimmedText(name);
  }
  return true;
}

bool ReadChannelEffects(TTarnXMSong& song, TByteReader& reader, std::int64_t length) {
  for (std::int32_t k = 0; k < song.NumChannels && 4 * k < length; ++k) {
    std::array<std::uint8_t, 4> value;
    if (reader.ReadBytes(value.data(), 4) < 4) return false;
    song.ChannelSettings[k].EffectSlot = DwordLE(value.data());
  }
  return true;
}

void StoreChunk(TTarnXMStream& stream, TByteReader& reader, std::int64_t length) {
  const std::span<const std::uint8_t> bytes = reader.Take(length);
  stream.Clear();
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.Seek(0);
}

// "FX" followed by two decimal digits names one of the 100 effect stores.
int EffectStoreIndex(std::string_view id) {
  if (id.substr(0, 2) != "FX" || id[2] < '0' || id[2] > '9' || id[3] < '0' || id[3] > '9') return -1;
  return 10 * (id[2] - '0') + (id[3] - '0');
}

}  // namespace

void ReadXMExtensionChunks(TTarnXMSong& song, TByteReader& reader) {
  const std::int64_t songEnd = reader.ReadPosition;
  while (reader.ReadPosition + ChunkHeaderSize < reader.SourceSize) {
    const std::int64_t start = reader.ReadPosition;
    std::array<std::uint8_t, ChunkHeaderSize> header;
    if (reader.ReadBytes(header.data(), ChunkHeaderSize) < ChunkHeaderSize) break;
    const std::string_view id(reinterpret_cast<const char*>(header.data()), 4);
    const std::int64_t length = DwordLE(&header[4]);
    bool complete = true;
    if (id == "text") {
      complete = ReadText(song, reader, length);
    } else if (id == "MIDI") {
      complete = ReadMidiConfig(song, reader, length);
    } else if (id == "PNAM") {
      complete = ReadPatternNames(song, reader, length);
    } else if (id == "CNAM") {
      complete = ReadChannelNames(song, reader, length);
    } else if (id == "CHFX") {
      complete = ReadChannelEffects(song, reader, length);
    } else if (id == "EQFX") {
      StoreChunk(song.EQFXData, reader, length);
    } else if (const int index = EffectStoreIndex(id); index >= 0) {
      StoreChunk(song.FXData[index], reader, length);
    } else if (id == "MODU") {
      StoreChunk(song.MODUData, reader, length);
    } else {
      break;
    }
    if (!complete) break;
    // In 64 bits the next chunk always starts after this one, so the loop ends.
    reader.ReadPosition = start + ChunkHeaderSize + length;
  }
  reader.ReadPosition = songEnd;
}
