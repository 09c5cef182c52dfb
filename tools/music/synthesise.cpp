#include "tools/music/synth_sound.h"

bool Synthesise(const std::string& type, TSynthParams& params, TSynthSound& sound) {
  if (type == "kick") sound = SynthesiseKick(params);
  else if (type == "snare") sound = SynthesiseSnare(params);
  else if (type == "hat") sound = SynthesiseHat(params);
  else if (type == "noise") sound = SynthesiseNoise(params);
  else if (type == "bass") sound = SynthesiseBass(params);
  else if (type == "pad") sound = SynthesisePad(params);
  else if (type == "lead") sound = SynthesiseLead(params);
  else if (type == "chip") sound = SynthesiseChip(params);
  else if (type == "pluck") sound = SynthesisePluck(params);
  else return false;
  return true;
}
