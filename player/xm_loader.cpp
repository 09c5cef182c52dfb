#include "player/xm_loader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#include "player/mod_loader.h"
#include "player/text_field.h"

namespace {

constexpr char XMIdentifier[] = "Extended Module: ";
constexpr std::int64_t XMHeaderSize = 336;
// The header size field counts from this offset.
constexpr std::int64_t XMHeaderSizeBase = 60;

}  // namespace

bool TTarnXMModule::LoadFromMemory(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  const auto fail = [this](TTarnXMLoadError error) {
    Clear();
    LoadError = error;
    return false;
  };
  Clear();
  TTarnXMReader reader(bytes, bytes ? size : 0);
  std::array<std::uint8_t, XMHeaderSize> header;
  if (reader.ReadBytes(header.data(), XMHeaderSize) < XMHeaderSize) return fail(TTarnXMLoadError::TooShort);

  const std::uint16_t channels = WordLE(&header[68]);
  const std::uint16_t instruments = WordLE(&header[72]);
  if (std::memcmp(header.data(), XMIdentifier, sizeof XMIdentifier - 1) != 0 || channels > 255 || instruments > 255) {
    Clear();
    return LoadMOD(*this, bytes, size);
  }

  Name = TrimmedText(std::span(header).subspan(17, 20));
  const std::uint16_t version = WordLE(&header[58]);
  SongLength = std::min<std::int32_t>(WordLE(&header[64]), MaxOrders);
  RestartPosition = WordLE(&header[66]);
  // Some files store a restart position past the song's end; play from the start.
  if (RestartPosition >= SongLength) RestartPosition = 0;
  NumChannels = channels;
  const std::uint16_t patterns = WordLE(&header[70]);
  const std::uint16_t flags = WordLE(&header[74]);
  LinearFrequency = (flags & 0x0001) != 0;
  ExtendedFilterRange = (flags & 0x1000) != 0;
  InitialSpeed = header[76] != 0 ? header[76] : 6;
  InitialTempo = header[78] != 0 ? header[78] : 125;
  std::copy_n(&header[80], MaxOrders, Orders.begin());
  Speed = InitialSpeed;
  Tempo = InitialTempo;
  Format = TTarnXMFormat::XM;
  FormatVersion = version;
  NumPatterns = std::min<std::int32_t>(patterns, MaxPatterns);

  reader.ReadPosition = XMHeaderSizeBase + DwordLE(&header[60]);
  TTarnXMLoadError error = TTarnXMLoadError::None;
  if (version < XMInterleavedSamplesVersion) {
    std::vector<TXMSampleHeaders> headers(instruments + 1);
    for (int i = 1; i <= instruments; ++i)
      if ((error = ReadXMInstrument(*this, reader, i, headers[i])) != TTarnXMLoadError::None) return fail(error);
    if ((error = ReadXMPatterns(*this, reader, version, patterns)) != TTarnXMLoadError::None) return fail(error);
    for (int i = 1; i <= instruments; ++i)
      if ((error = ReadXMSampleData(reader, headers[i])) != TTarnXMLoadError::None) return fail(error);
  } else {
    if ((error = ReadXMPatterns(*this, reader, version, patterns)) != TTarnXMLoadError::None) return fail(error);
    for (int i = 1; i <= instruments; ++i) {
      TXMSampleHeaders headers;
      if ((error = ReadXMInstrument(*this, reader, i, headers)) != TTarnXMLoadError::None) return fail(error);
      if ((error = ReadXMSampleData(reader, headers)) != TTarnXMLoadError::None) return fail(error);
    }
  }
  Loaded = true;
  ReadXMExtensionChunks(*this, reader);
  return true;
}
