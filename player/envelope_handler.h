#pragma once
// The playback state of one envelope on one channel: where in the envelope
// the channel is, and whether the key is still held.
#include <cstdint>

class TTarnXMEnvelope;

class TTarnXMEnvelopeHandler {
 public:
  // Jumps to a time in ticks.
  void SetPosition(std::int32_t value);
  // The value at the current time, then one tick on. Only for enabled envelopes.
  std::int32_t Step();

  const TTarnXMEnvelope* Envelope = nullptr;  // not owned
  bool KeyOn = true;
  std::int32_t Position = 0;
  std::int32_t PointIndex = 0;
};
