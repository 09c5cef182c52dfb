#include <algorithm>

#include "player/player.h"

void TTarnXM::DoTick() {
  Module.Tick();
  UpdateTempo();
}

void TTarnXM::RenderBuffer(std::int16_t* out) {
  MixPointer = MixBuffer.data();
  std::fill(MixBuffer.begin(), MixBuffer.end(), 0);
  std::int32_t done = 0;
  while (done < BufferSamples) {
    if (TickSamplesLeft <= 0) DoTick();
    done += MixChunk(done, TickSamplesLeft);
  }
  ConvertToPcm16(MixBuffer.data(), out, MixBuffer.size(), Clipping);
}
