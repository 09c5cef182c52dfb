#include "player/envelope_handler.h"

#include <algorithm>

#include "player/envelope.h"

namespace {

// The points in use, never more than the table holds.
std::int32_t PointCount(const TTarnXMEnvelope& envelope) {
  return std::clamp(envelope.NumPoints, 0, TTarnXMEnvelope::TablePoints);
}

bool IsPoint(const TTarnXMEnvelope& envelope, std::int32_t index) { return index >= 0 && index < PointCount(envelope); }

}  // namespace

void TTarnXMEnvelopeHandler::SetPosition(std::int32_t value) {
  Position = value;
  PointIndex = 0;
  if (!Envelope) return;
  for (std::int32_t i = 0; i < PointCount(*Envelope); ++i)
    if (Envelope->Points[i].Position <= value) PointIndex = i;
  if (Envelope->LoopEnabled && PointIndex == Envelope->LoopEnd && IsPoint(*Envelope, Envelope->LoopStart))
    PointIndex = Envelope->LoopStart;
}

std::int32_t TTarnXMEnvelopeHandler::Step() {
  const TTarnXMEnvelope& envelope = *Envelope;
  // An envelope without points reads its first, empty table entry.
  const std::int32_t n = std::max(PointCount(envelope), 1);
  const std::int32_t i = PointIndex;
  if (i < 0 || i >= n - 1) return envelope.Points[n - 1].Value;
  const TTarnXMEnvelopePoint& from = envelope.Points[i];
  const TTarnXMEnvelopePoint& to = envelope.Points[i + 1];
  const std::int32_t a = from.Position;
  const std::int32_t b = to.Position;
  std::int32_t value = from.Value;
  if (a != b) {
    const std::int64_t offset = (std::int64_t{Position} - a) * (to.Value - from.Value) / (std::int64_t{b} - a);
    // A position outside the segment (after a jump onto the loop end, or with
    // points out of order) would extrapolate without bound.
    value = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(from.Value + offset, std::min(from.Value, to.Value), std::max(from.Value, to.Value)));
  }
  if (!(envelope.SustainEnabled && KeyOn && i == envelope.SustainPoint)) Position += 1;
  if (Position >= b) {
    PointIndex = std::min(i + 1, n - 1);
    if (envelope.LoopEnabled && PointIndex == envelope.LoopEnd && IsPoint(envelope, envelope.LoopStart)) {
      PointIndex = envelope.LoopStart;
      Position = envelope.Points[PointIndex].Position;
    }
  }
  return value;
}
