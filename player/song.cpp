#include "player/song.h"

#include <algorithm>
#include <stdexcept>

TTarnXMSong::TTarnXMSong() { DefaultMacros(); }

TTarnXMInstrument& TTarnXMSong::NewInstrument(int number) {
  if (number < 1) throw std::out_of_range("instrument numbers start at 1");
  std::unique_ptr<TTarnXMInstrument>& slot = Instruments.at(number);
  if (slot) slot->Clear();
  else slot = std::make_unique<TTarnXMInstrument>();
  return *slot;
}

const TTarnXMInstrument* TTarnXMSong::InstrumentAt(std::int32_t number) const {
  return number >= 1 && number <= MaxInstruments ? Instruments[number].get() : nullptr;
}

std::int32_t TTarnXMSong::PlayedChannels() const { return std::clamp(NumChannels, 0, MaxChannels); }
