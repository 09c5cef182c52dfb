#pragma once
// The routines that the effects repeat on the ticks of a row, and the
// saturating arithmetic they write with.
#include <cstdint>

class TTarnXMChannel;
class TTarnXMSong;
struct TTarnXMTickContext;

// Slides keep moving the volume, panning, period and global volume of a
// silent channel, whose values Update does not limit: held within these
// bounds, hours of sliding cannot overflow.
constexpr std::int32_t SlideLimit = 1 << 30;

// True when the channel's cell sets the volume (volume column or effect).
bool SetsVolume(const TTarnXMChannel& channel);
// Releases the key: envelopes leave their sustain and the fade-out begins.
void ReleaseKey(TTarnXMChannel& channel);

// The step a slide parameter xy makes per tick: up by x, or else down by y.
std::int32_t SlideRate(std::int32_t parameter);

// True when the cell has a tone portamento (effect 3 or 5, or an Mx).
bool IsTonePortamento(const TTarnXMChannel& channel);

// value + change, held within +-SlideLimit.
void Slide(std::int32_t& value, std::int64_t change);

// Slides the period of a portamento by change; ProTracker holds it within
// the range of the sample's fine-tune table.
void PortamentoSlide(const TTarnXMSong& song, TTarnXMChannel& channel, std::int64_t change);

// Vibrato and tremolo shapes 0 sine, 1 ramp, 2 and 3 square, at position
// 0..63: each swings from +255 to -255 about the note.
std::int32_t WaveformValue(std::int32_t shape, std::int32_t position);

// The vibrato's period offset at its position, and the step that adds it
// and moves on.
std::int32_t VibratoOffset(const TTarnXMSong& song, const TTarnXMChannel& channel);
void VibratoStep(const TTarnXMSong& song, TTarnXMChannel& channel);
void TremoloStep(TTarnXMChannel& channel);
// Tremor: x + 1 ticks heard, y + 1 silent. The phase moves on every tick
// but a row's first.
void TremorStep(TTarnXMChannel& channel, bool advance);
void TonePortamentoStep(TTarnXMChannel& channel);
// With glissando on, a tone portamento's smooth slide is heard a semitone at
// a time: on every tick of its rows the period offset to that semitone.
void GlissandoStep(const TTarnXMSong& song, TTarnXMChannel& channel);
void RetriggerStep(TTarnXMTickContext& context, TTarnXMChannel& channel);
