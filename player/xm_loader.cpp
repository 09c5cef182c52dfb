#include "player/xm_loader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#include "player/text_field.h"

namespace {

constexpr char XMIdentifier[] = "Extended Module: ";
// The header size field counts from this offset.
constexpr std::int64_t XMHeaderSizeBase = 60;

}  // namespace

bool ProbeXM(std::span<const std::uint8_t> data, TTarnXMProbe& probe) {
  if (data.size() < XMHeaderSize || std::memcmp(data.data(), XMIdentifier, sizeof XMIdentifier - 1) != 0 ||
      WordLE(&data[68]) > 255 || WordLE(&data[72]) > 255)
    return false;
  probe.Title = TrimmedText(data.subspan(17, 20));
  probe.Channels = WordLE(&data[68]);
  return true;
}

TTarnXMLoadError LoadXM(TTarnXMSong& song, std::span<const std::uint8_t> data) {
  TByteReader reader(data.data(), data.size());
  std::array<std::uint8_t, XMHeaderSize> header;
  if (reader.ReadBytes(header.data(), XMHeaderSize) < XMHeaderSize) return TTarnXMLoadError::TooShort;

  const std::uint16_t channels = WordLE(&header[68]);
  const std::uint16_t instruments = WordLE(&header[72]);
  song.Name = TrimmedText(std::span(header).subspan(17, 20));
  const std::uint16_t version = WordLE(&header[58]);
  song.SongLength = std::min<std::int32_t>(WordLE(&header[64]), TTarnXMSong::MaxOrders);
  song.RestartPosition = WordLE(&header[66]);
  // Some files store a restart position past the song's end; play from the start.
  if (song.RestartPosition >= song.SongLength) song.RestartPosition = 0;
  song.NumChannels = channels;
  const std::uint16_t patterns = WordLE(&header[70]);
  const std::uint16_t flags = WordLE(&header[74]);
  song.LinearFrequency = (flags & 0x0001) != 0;
  song.ExtendedFilterRange = (flags & 0x1000) != 0;
  song.InitialSpeed = header[76] != 0 ? header[76] : 6;
  song.InitialTempo = header[78] != 0 ? header[78] : 125;
  std::copy_n(&header[80], TTarnXMSong::MaxOrders, song.Orders.begin());
  song.Format = TTarnXMFormat::XM;
  song.FormatVersion = version;
  song.NumPatterns = std::min<std::int32_t>(patterns, TTarnXMSong::MaxPatterns);

  reader.ReadPosition = XMHeaderSizeBase + DwordLE(&header[60]);
  TTarnXMLoadError error = TTarnXMLoadError::None;
  if (version < XMInterleavedSamplesVersion) {
    std::vector<TXMSampleHeaders> headers(instruments + 1);
    for (int i = 1; i <= instruments; ++i)
      if ((error = ReadXMInstrument(song, reader, i, headers[i])) != TTarnXMLoadError::None) return error;
    if ((error = ReadXMPatterns(song, reader, version, patterns)) != TTarnXMLoadError::None) return error;
    for (int i = 1; i <= instruments; ++i)
      if ((error = ReadXMSampleData(reader, headers[i])) != TTarnXMLoadError::None) return error;
  } else {
    if ((error = ReadXMPatterns(song, reader, version, patterns)) != TTarnXMLoadError::None) return error;
    for (int i = 1; i <= instruments; ++i) {
      TXMSampleHeaders headers;
      if ((error = ReadXMInstrument(song, reader, i, headers)) != TTarnXMLoadError::None) return error;
      if ((error = ReadXMSampleData(reader, headers)) != TTarnXMLoadError::None) return error;
    }
  }
  ReadXMExtensionChunks(song, reader);
  return TTarnXMLoadError::None;
}
