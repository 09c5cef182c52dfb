#include "player/xm_loader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <span>

#include "player/mod_loader.h"
#include "player/player.h"
#include "player/text_field.h"

namespace {

constexpr char XMIdentifier[] = "Extended Module: ";
constexpr std::int64_t XMHeaderSize = 336;
// The header size field counts from this offset.
constexpr std::int64_t XMHeaderSizeBase = 60;

bool Fail(TTarnXMModule& module, TTarnXMLoadError error) {
  module.Clear();
  module.LoadError = error;
  return false;
}

bool LoadXM(TTarnXMModule& module, const std::uint8_t* bytes, std::size_t size) {
  module.Clear();
  TTarnXMReader reader(bytes, size);
  std::array<std::uint8_t, XMHeaderSize> header;
  if (reader.ReadBytes(header.data(), XMHeaderSize) < XMHeaderSize) return Fail(module, TTarnXMLoadError::TooShort);

  const std::uint16_t channels = WordLE(&header[68]);
  const std::uint16_t instruments = WordLE(&header[72]);
  if (std::memcmp(header.data(), XMIdentifier, sizeof XMIdentifier - 1) != 0 || channels > 255 || instruments > 255) {
    module.Clear();
    return LoadMOD(module, bytes, size);
  }

  module.Name = TrimmedText(std::span(header).subspan(17, 20));
  const std::uint16_t version = WordLE(&header[58]);
  module.SongLength = std::min<std::int32_t>(WordLE(&header[64]), TTarnXMModule::MaxOrders);
  module.RestartPosition = WordLE(&header[66]);
  // Some files store a restart position past the song's end; play from the start.
  if (module.RestartPosition >= module.SongLength) module.RestartPosition = 0;
  module.NumChannels = channels;
  const std::uint16_t patterns = WordLE(&header[70]);
  const std::uint16_t flags = WordLE(&header[74]);
  module.LinearFrequency = (flags & 0x0001) != 0;
  module.ExtendedFilterRange = (flags & 0x1000) != 0;
  module.InitialSpeed = header[76] != 0 ? header[76] : 6;
  module.InitialTempo = header[78] != 0 ? header[78] : 125;
  std::copy_n(&header[80], TTarnXMModule::MaxOrders, module.Orders.begin());
  module.Speed = module.InitialSpeed;
  module.Tempo = module.InitialTempo;
  module.Format = TTarnXMFormat::XM;
  module.FormatVersion = version;
  module.NumPatterns = std::min<std::int32_t>(patterns, TTarnXMModule::MaxPatterns);

  reader.ReadPosition = XMHeaderSizeBase + DwordLE(&header[60]);
  TTarnXMLoadError error = TTarnXMLoadError::None;
  if (version < XMInterleavedSamplesVersion) {
    std::vector<TXMSampleHeaders> headers(instruments + 1);
    for (int i = 1; i <= instruments; ++i)
      if ((error = ReadXMInstrument(module, reader, i, headers[i])) != TTarnXMLoadError::None)
        return Fail(module, error);
    if ((error = ReadXMPatterns(module, reader, version, patterns)) != TTarnXMLoadError::None)
      return Fail(module, error);
    for (int i = 1; i <= instruments; ++i)
      if ((error = ReadXMSampleData(reader, headers[i])) != TTarnXMLoadError::None) return Fail(module, error);
  } else {
    if ((error = ReadXMPatterns(module, reader, version, patterns)) != TTarnXMLoadError::None)
      return Fail(module, error);
    for (int i = 1; i <= instruments; ++i) {
      TXMSampleHeaders headers;
      if ((error = ReadXMInstrument(module, reader, i, headers)) != TTarnXMLoadError::None) return Fail(module, error);
      if ((error = ReadXMSampleData(reader, headers)) != TTarnXMLoadError::None) return Fail(module, error);
    }
  }
  module.Loaded = true;
  ReadXMExtensionChunks(module, reader);
  return true;
}

}  // namespace

bool TTarnXMModule::LoadFromMemory(const void* data, std::size_t size) {
  // The player's output thread may be rendering this song: the load waits
  // for the refill to end.
  const auto guard = LockPlayer(Player);
  // Every allocation of a load is bounded by the data, but a large file can
  // still exhaust memory: then the file is refused like any other.
  try {
    return LoadXM(*this, static_cast<const std::uint8_t*>(data), data ? size : 0);
  } catch (const std::bad_alloc&) {
    return Fail(*this, TTarnXMLoadError::OutOfMemory);
  }
}
