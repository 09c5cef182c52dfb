// What a song's instruments hold, for whoever lists them.
#include "player/song.h"
#include "tarnxm/tarnxm.h"

namespace {

TTarnXMEnvelopeInfo EnvelopeInfo(const TTarnXMEnvelope& envelope) {
  TTarnXMEnvelopeInfo facts;
  facts.Enabled = envelope.Enabled;
  for (int k = 0; k < envelope.NumPoints && k < TTarnXMEnvelope::TablePoints; ++k)
    facts.Points.emplace_back(envelope.Points[k].Position, envelope.Points[k].Value);
  facts.SustainEnabled = envelope.SustainEnabled;
  facts.SustainPoint = envelope.SustainPoint;
  facts.LoopEnabled = envelope.LoopEnabled;
  facts.LoopStart = envelope.LoopStart;
  facts.LoopEnd = envelope.LoopEnd;
  return facts;
}

TTarnXMSampleInfo SampleInfo(int index, const TTarnXMSample& sample) {
  TTarnXMSampleInfo facts;
  facts.Index = index;
  facts.Name = sample.Name;
  facts.Length = sample.Length;
  facts.Bits = sample.Bits;
  facts.Channels = sample.Channels;
  facts.ADPCM = sample.ADPCM;
  facts.Loop = sample.Loop;
  facts.PingPong = sample.PingPong;
  facts.LoopStart = sample.LoopStart;
  facts.LoopLength = sample.LoopLength;
  facts.Volume = sample.Volume;
  facts.UsePanning = sample.UsePanning;
  facts.Panning = sample.Panning;
  facts.RelativeNote = sample.RelativeNote;
  facts.FineTune = sample.FineTune;
  return facts;
}

}  // namespace

std::vector<TTarnXMInstrumentInfo> DescribeInstruments(const TTarnXMSong& song) {
  std::vector<TTarnXMInstrumentInfo> instruments;
  for (int number = 1; number <= TTarnXMSong::MaxInstruments; ++number) {
    const TTarnXMInstrument* instrument = song.InstrumentAt(number);
    if (!instrument) continue;
    TTarnXMInstrumentInfo& facts = instruments.emplace_back();
    facts.Number = number;
    facts.Name = instrument->Name;
    facts.FadeOut = instrument->FadeOut;
    facts.VolumeEnvelope = EnvelopeInfo(instrument->VolumeEnvelope);
    facts.PanningEnvelope = EnvelopeInfo(instrument->PanningEnvelope);
    facts.VibratoType = instrument->VibratoType;
    facts.VibratoDepth = instrument->VibratoDepth;
    facts.VibratoRate = instrument->VibratoRate;
    facts.VibratoSweep = instrument->VibratoSweep;
    facts.SampleMap.assign(instrument->SampleMap.begin(), instrument->SampleMap.end());
    for (int index = 0; index < TTarnXMInstrument::MaxSamples; ++index)
      if (const TTarnXMSample* sample = instrument->Samples[index].get())
        facts.Samples.push_back(SampleInfo(index, *sample));
  }
  return instruments;
}
