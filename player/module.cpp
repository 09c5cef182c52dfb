#include "player/module.h"

#include <stdexcept>

#include "platform/resources.h"
#include "player/player.h"

TTarnXMModule::TTarnXMModule(TTarnXM* player) : Player(player) {
  for (int i = 0; i < MaxChannels; ++i) Channels[i] = std::make_unique<TTarnXMChannel>(this, i);
  Clear();
}

TTarnXMModule::~TTarnXMModule() { Clear(); }

void TTarnXMModule::Clear() {
  GlobalVolume = 64;
  DeclickLeft = 0;
  DeclickRight = 0;
  Name.clear();
  Comment.clear();
  for (std::unique_ptr<TTarnXMInstrument>& instrument : Instruments) instrument.reset();
  for (TTarnXMPattern& pattern : Patterns) pattern.Clear();
  // What a loader writes into the channels goes too, so that one song's
  // channel names and pannings never leak into the next.
  for (std::unique_ptr<TTarnXMChannel>& channel : Channels) {
    channel->EffectSlot = 0;
    channel->Name.clear();
    channel->DefaultPanning = 128;
  }
  EQFXData.Clear();
  MODUData.Clear();
  for (TTarnXMStream& stream : FXData) stream.Clear();
  Orders.fill(0);
  InitialSpeed = 6;
  InitialTempo = 125;
  SongLength = 0;
  RestartPosition = 0;
  LinearFrequency = true;
  ExtendedFilterRange = false;
  Format = TTarnXMFormat::None;
  FormatVersion = 0;
  Signature.clear();
  NumPatterns = 0;
  LoadError = TTarnXMLoadError::None;
  Reset();
  Loaded = false;
  DefaultMacros();
}

void TTarnXMModule::Reset() {
  for (std::unique_ptr<TTarnXMChannel>& channel : Channels) channel->Reset();
  Speed = InitialSpeed;
  Tempo = InitialTempo;
  TickCounter = InitialSpeed;
  PatternDelayCount = 0;
  OrderPosition = 0;
  Row = 0;
  SongEnded = false;
  for (std::bitset<256>& rows : PlayedRows) rows.reset();
}

TTarnXMInstrument& TTarnXMModule::NewInstrument(int number) {
  if (number < 1) throw std::out_of_range("instrument numbers start at 1");
  std::unique_ptr<TTarnXMInstrument>& slot = Instruments.at(number);
  if (slot)
    slot->Clear();
  else
    slot = std::make_unique<TTarnXMInstrument>();
  return *slot;
}

bool TTarnXMModule::LoadFromResource(std::string_view name, std::string_view type) {
  const platform::TResource* resource = platform::FindResource(name, type);
  if (!resource || resource->Data.empty()) {
    const auto guard = LockPlayer(Player);
    Clear();
    LoadError = TTarnXMLoadError::ResourceNotFound;
    return false;
  }
  return LoadFromMemory(resource->Data.data(), resource->Data.size());
}
