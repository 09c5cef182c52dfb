#pragma once
// libxmp as a black-box peer: a second player that loads our modules, says
// how long they play and renders them. Its output is brought to the scale of
// our own mixer (master volume 128: a sample at full scale on a channel
// panned hard to one side reaches full scale on that side), measured on a
// reference module rather than assumed, so that levels read from its
// renders are the levels our player will produce.
#include <cstdint>
#include <string>
#include <vector>

struct TPeerRender {
  std::vector<float> Frames;  // interleaved left, right; 1.0 = full scale
  int Rate = 44100;
  std::string Error;
};

// The peer's reckoning of the first pass through the song, in milliseconds;
// -1 when it cannot load the module.
int PeerDurationMs(const std::vector<std::uint8_t>& module);
// One pass through the song, up to where it loops, at our mixer's scale.
TPeerRender PeerRender(const std::vector<std::uint8_t>& module, int rate = 44100);
// What the peer's output is multiplied by to reach our mixer's scale.
double PeerGain();
