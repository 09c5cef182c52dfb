#include "player/instrument.h"

void TTarnXMInstrument::Clear() {
  for (std::unique_ptr<TTarnXMSample>& sample : Samples) sample.reset();
  SampleMap.fill(0);
  VolumeEnvelope.Clear();
  PanningEnvelope.Clear();
  FadeOut = 0;
  VibratoType = 0;
  VibratoSweep = 0;
  VibratoDepth = 0;
  VibratoRate = 0;
}

TTarnXMSample& TTarnXMInstrument::NewSample(int index) {
  std::unique_ptr<TTarnXMSample>& slot = Samples.at(index);
  if (slot) slot->Clear();
  else slot = std::make_unique<TTarnXMSample>();
  return *slot;
}
