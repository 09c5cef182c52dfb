// The unfiltered mix routines vectorised with AVX2, eight output frames at a
// time. Every step is the portable routine's integer arithmetic lane by lane,
// so the results are the same to the bit; the frames left over at the end of
// a call go through the portable routine itself.
#include "player/mix_routines.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

#include <utility>

#include "player/mix_routine.h"

#define AVX2_TARGET __attribute__((target("avx2")))

namespace {

using mix_detail::CellAxes;

// Division by 2^shift truncating toward zero, as the portable routine's div.
template <int Shift>
AVX2_TARGET inline __m256i DivideByPowerOfTwo(__m256i x) {
  const __m256i bias = _mm256_srli_epi32(_mm256_srai_epi32(x, 31), 32 - Shift);
  return _mm256_srai_epi32(_mm256_add_epi32(x, bias), Shift);
}

// The values of both sides of one 8-frame block.
struct TBlock {
  __m256i Left;
  __m256i Right;
};

// Frame numbers and fractions of the positions position + k x step, k = 0..7.
AVX2_TARGET inline void SplitPositions(std::int64_t position, __m256i offsets, __m256i offsets4, __m256i& frames,
                                       __m256i& fractions) {
  const __m256i low = _mm256_add_epi64(_mm256_set1_epi64x(position), offsets);
  const __m256i high = _mm256_add_epi64(low, offsets4);
  const __m256i order = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
  const __m256i a = _mm256_permutevar8x32_epi32(low, order);
  const __m256i b = _mm256_permutevar8x32_epi32(high, order);
  fractions = _mm256_permute2x128_si256(a, b, 0x20);
  frames = _mm256_permute2x128_si256(a, b, 0x31);
}

// Interpolations 0 and 1: the taps gathered by frame number.
template <int Interpolation, int Stride>
AVX2_TARGET inline __m256i GatherValue(const std::int32_t* d, __m256i index, __m256i fractions) {
  const __m256i a = _mm256_i32gather_epi32(d, index, 4);
  if constexpr (Interpolation == 0) {
    return a;
  } else {
    // |b - a| x w stays below 2^32 for 16-bit values, so the truncated
    // quotient is the unsigned one with the difference's sign.
    const __m256i b = _mm256_i32gather_epi32(d + Stride, index, 4);
    const __m256i difference = _mm256_sub_epi32(b, a);
    const __m256i w = _mm256_srli_epi32(fractions, 16);
    const __m256i quotient = _mm256_srli_epi32(_mm256_mullo_epi32(_mm256_abs_epi32(difference), w), 16);
    return _mm256_add_epi32(a, _mm256_sign_epi32(quotient, difference));
  }
}

// Linear interpolation of a mono sample: each frame's two taps in one load,
// sorted into the eight first and eight second taps.
AVX2_TARGET inline __m256i LinearMonoBlock(const std::int32_t* data, std::int64_t position, std::int64_t step,
                                           __m256i fractions) {
  __m128i pairs[8];
  for (int k = 0; k < 8; ++k) {
    pairs[k] = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(data + (position >> 32)));
    position = mix_detail::Advance(position, step);
  }
  const __m256i order = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
  const __m256i early = _mm256_permutevar8x32_epi32(
      _mm256_set_m128i(_mm_unpacklo_epi64(pairs[2], pairs[3]), _mm_unpacklo_epi64(pairs[0], pairs[1])), order);
  const __m256i late = _mm256_permutevar8x32_epi32(
      _mm256_set_m128i(_mm_unpacklo_epi64(pairs[6], pairs[7]), _mm_unpacklo_epi64(pairs[4], pairs[5])), order);
  const __m256i a = _mm256_permute2x128_si256(early, late, 0x20);
  const __m256i b = _mm256_permute2x128_si256(early, late, 0x31);
  const __m256i difference = _mm256_sub_epi32(b, a);
  const __m256i w = _mm256_srli_epi32(fractions, 16);
  const __m256i quotient = _mm256_srli_epi32(_mm256_mullo_epi32(_mm256_abs_epi32(difference), w), 16);
  return _mm256_add_epi32(a, _mm256_sign_epi32(quotient, difference));
}

// Cubic spline: each frame's four taps and weights are loaded whole and
// multiplied; horizontal adds reduce them to eight sums in frame order.
template <int Stride>
AVX2_TARGET inline TBlock CubicBlock(const std::int32_t* data, std::int64_t& position, std::int64_t step,
                                     const std::int32_t* table) {
  __m256i products[8];
  for (int k = 0; k < 8; ++k) {
    const std::int32_t* d = data + ((position >> 32) - 1) * Stride;
    const __m128i c =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(table + (static_cast<std::uint32_t>(position) >> 22) * 4));
    if constexpr (Stride == 1) {
      products[k] = _mm256_castsi128_si256(_mm_mullo_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(d)), c));
    } else {
      const __m256i taps = _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(d)),
                                                       _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7));
      products[k] = _mm256_mullo_epi32(taps, _mm256_broadcastsi128_si256(c));
    }
    position = mix_detail::Advance(position, step);
  }
  TBlock block;
  if constexpr (Stride == 1) {
    __m256i pairs[4];
    for (int j = 0; j < 4; ++j)
      pairs[j] = _mm256_inserti128_si256(products[j], _mm256_castsi256_si128(products[j + 4]), 1);
    const __m256i sums =
        _mm256_hadd_epi32(_mm256_hadd_epi32(pairs[0], pairs[1]), _mm256_hadd_epi32(pairs[2], pairs[3]));
    block.Left = block.Right = DivideByPowerOfTwo<14>(sums);
  } else {
    const __m256i first =
        _mm256_hadd_epi32(_mm256_hadd_epi32(products[0], products[1]), _mm256_hadd_epi32(products[2], products[3]));
    const __m256i second =
        _mm256_hadd_epi32(_mm256_hadd_epi32(products[4], products[5]), _mm256_hadd_epi32(products[6], products[7]));
    block.Left = DivideByPowerOfTwo<14>(_mm256_permute2x128_si256(first, second, 0x20));
    block.Right = DivideByPowerOfTwo<14>(_mm256_permute2x128_si256(first, second, 0x31));
  }
  return block;
}

// Windowed sinc of eight frames from their tap products: the sums a of
// taps 0..3 and b of taps 4..7, halved, added and scaled.
AVX2_TARGET inline __m256i SincSums(const __m256i* products) {
  const __m256i first =
      _mm256_hadd_epi32(_mm256_hadd_epi32(products[0], products[1]), _mm256_hadd_epi32(products[2], products[3]));
  const __m256i second =
      _mm256_hadd_epi32(_mm256_hadd_epi32(products[4], products[5]), _mm256_hadd_epi32(products[6], products[7]));
  const __m256i a = _mm256_permute2x128_si256(first, second, 0x20);
  const __m256i b = _mm256_permute2x128_si256(first, second, 0x31);
  return DivideByPowerOfTwo<14>(_mm256_add_epi32(DivideByPowerOfTwo<1>(a), DivideByPowerOfTwo<1>(b)));
}

template <int Stride>
AVX2_TARGET inline TBlock SincBlock(const std::int32_t* data, std::int64_t& position, std::int64_t step,
                                    const std::int32_t* table) {
  __m256i left[8];
  __m256i right[8];
  for (int k = 0; k < 8; ++k) {
    const std::int32_t* d = data + ((position >> 32) - 3) * Stride;
    const __m256i c =
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(table + (static_cast<std::uint32_t>(position) >> 20) * 8));
    if constexpr (Stride == 1) {
      left[k] = _mm256_mullo_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(d)), c);
    } else {
      const __m256i order = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
      const __m256i early = _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(d)), order);
      const __m256i late =
          _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + 8)), order);
      left[k] = _mm256_mullo_epi32(_mm256_permute2x128_si256(early, late, 0x20), c);
      right[k] = _mm256_mullo_epi32(_mm256_permute2x128_si256(early, late, 0x31), c);
    }
    position = mix_detail::Advance(position, step);
  }
  TBlock block;
  block.Left = block.Right = SincSums(left);
  if constexpr (Stride == 2) block.Right = SincSums(right);
  return block;
}

// Adds gain x value for eight frames of one output side (mono output).
AVX2_TARGET inline void AccumulateMono(std::int64_t* out, __m256i values, __m256i gains) {
  __m256i* o = reinterpret_cast<__m256i*>(out);
  const __m256i low = _mm256_mul_epi32(_mm256_cvtepi32_epi64(_mm256_castsi256_si128(values)),
                                       _mm256_cvtepi32_epi64(_mm256_castsi256_si128(gains)));
  const __m256i high = _mm256_mul_epi32(_mm256_cvtepi32_epi64(_mm256_extracti128_si256(values, 1)),
                                        _mm256_cvtepi32_epi64(_mm256_extracti128_si256(gains, 1)));
  _mm256_storeu_si256(o, _mm256_add_epi64(_mm256_loadu_si256(o), low));
  _mm256_storeu_si256(o + 1, _mm256_add_epi64(_mm256_loadu_si256(o + 1), high));
}

// Eight stereo frames: left and right values and gains interleaved.
AVX2_TARGET inline void AccumulateStereo(std::int64_t* out, __m256i left, __m256i right, __m256i gainLeft,
                                         __m256i gainRight) {
  __m256i* o = reinterpret_cast<__m256i*>(out);
  const __m256i values[2] = {_mm256_unpacklo_epi32(left, right), _mm256_unpackhi_epi32(left, right)};
  const __m256i gains[2] = {_mm256_unpacklo_epi32(gainLeft, gainRight), _mm256_unpackhi_epi32(gainLeft, gainRight)};
  // unpacklo holds frames 0, 1 | 4, 5 and unpackhi frames 2, 3 | 6, 7.
  for (int h = 0; h < 2; ++h) {
    const __m256i low = _mm256_mul_epi32(_mm256_cvtepi32_epi64(_mm256_castsi256_si128(values[h])),
                                         _mm256_cvtepi32_epi64(_mm256_castsi256_si128(gains[h])));
    const __m256i high = _mm256_mul_epi32(_mm256_cvtepi32_epi64(_mm256_extracti128_si256(values[h], 1)),
                                          _mm256_cvtepi32_epi64(_mm256_extracti128_si256(gains[h], 1)));
    _mm256_storeu_si256(o + h, _mm256_add_epi64(_mm256_loadu_si256(o + h), low));
    _mm256_storeu_si256(o + h + 2, _mm256_add_epi64(_mm256_loadu_si256(o + h + 2), high));
  }
}

// count x step with the ramp's wrapping arithmetic.
inline std::int32_t Steps(std::uint32_t count, std::int32_t step) {
  return static_cast<std::int32_t>(count * static_cast<std::uint32_t>(step));
}

// The ramp values of a block's eight frames: each frame first steps, then
// uses the value.
AVX2_TARGET inline __m256i FirstRampValues(std::int32_t ramp, std::int32_t step) {
  return _mm256_add_epi32(_mm256_set1_epi32(ramp),
                          _mm256_mullo_epi32(_mm256_set1_epi32(step), _mm256_setr_epi32(1, 2, 3, 4, 5, 6, 7, 8)));
}

// Gains of eight frames from ramp values, truncating as the portable div.
AVX2_TARGET inline __m256i RampGains(__m256i ramp) { return DivideByPowerOfTwo<12>(ramp); }

template <TMixAxes A>
AVX2_TARGET void VectorRoutine(std::int64_t*& out, std::int32_t count, TTarnXMChannel& channel,
                               const std::int32_t* table) {
  constexpr int Stride = A.SampleChannels;
  constexpr bool Stereo = A.OutputChannels == 2;
  const TTarnXMSample& sample = *channel.Sample;
  // The gathers index with 32 bits.
  if (static_cast<std::int64_t>(sample.Length) * Stride >= (std::int64_t{1} << 31) - 64) {
    mix_detail::MixRoutine<A>(out, count, channel, table);
    return;
  }
  const std::int32_t* data = sample.Data;
  const std::int64_t step = channel.MixIncrement;
  std::int64_t position = channel.Position;
  const auto uStep = static_cast<std::uint64_t>(step);
  const __m256i offsets = _mm256_setr_epi64x(0, static_cast<std::int64_t>(uStep), static_cast<std::int64_t>(2 * uStep),
                                             static_cast<std::int64_t>(3 * uStep));
  const __m256i offsets4 = _mm256_set1_epi64x(static_cast<std::int64_t>(4 * uStep));
  __m256i rampLeft = FirstRampValues(channel.RampLeft, channel.RampStepLeft);
  __m256i rampRight = FirstRampValues(channel.RampRight, channel.RampStepRight);
  const __m256i rampLeft8 = _mm256_set1_epi32(Steps(8, channel.RampStepLeft));
  const __m256i rampRight8 = _mm256_set1_epi32(Steps(8, channel.RampStepRight));
  const __m256i volumeLeft = _mm256_set1_epi32(channel.VolumeLeft);
  const __m256i volumeRight = _mm256_set1_epi32(A.DifferentGains ? channel.VolumeRight : channel.VolumeLeft);

  const std::int32_t blocks = count / 8;
  std::int64_t* frame = out;
  for (std::int32_t n = 0; n < blocks; ++n) {
    TBlock block;
    if constexpr (A.Interpolation <= 1) {
      __m256i frames, fractions;
      SplitPositions(position, offsets, offsets4, frames, fractions);
      const __m256i index = Stride == 2 ? _mm256_add_epi32(frames, frames) : frames;
      if constexpr (A.Interpolation == 1 && Stride == 1)
        block.Left = block.Right = LinearMonoBlock(data, position, step, fractions);
      else block.Left = block.Right = GatherValue<A.Interpolation, Stride>(data, index, fractions);
      if constexpr (Stride == 2) block.Right = GatherValue<A.Interpolation, Stride>(data + 1, index, fractions);
      position = static_cast<std::int64_t>(static_cast<std::uint64_t>(position) + 8 * uStep);
    } else if constexpr (A.Interpolation == 2) {
      block = CubicBlock<Stride>(data, position, step, table);
    } else {
      block = SincBlock<Stride>(data, position, step, table);
    }
    if constexpr (Stride == 2 && !Stereo) block.Left = DivideByPowerOfTwo<1>(_mm256_add_epi32(block.Left, block.Right));
    __m256i gainLeft = volumeLeft;
    __m256i gainRight = volumeRight;
    if constexpr (A.Ramping) {
      gainLeft = gainRight = RampGains(rampLeft);
      rampLeft = _mm256_add_epi32(rampLeft, rampLeft8);
      if constexpr (A.DifferentGains) {
        gainRight = RampGains(rampRight);
        rampRight = _mm256_add_epi32(rampRight, rampRight8);
      }
    }
    if constexpr (Stereo) AccumulateStereo(frame, block.Left, block.Right, gainLeft, gainRight);
    else AccumulateMono(frame, block.Left, gainLeft);
    frame += 8 * A.OutputChannels;
  }
  const auto framesDone = static_cast<std::uint32_t>(blocks) * 8u;
  channel.Position = position;
  if constexpr (A.Ramping) {
    channel.RampLeft = mix_detail::WrapAdd(channel.RampLeft, Steps(framesDone, channel.RampStepLeft));
    if constexpr (Stereo)
      channel.RampRight = A.DifferentGains
                              ? mix_detail::WrapAdd(channel.RampRight, Steps(framesDone, channel.RampStepRight))
                              : channel.RampLeft;
  }
  out = frame;
  if (count % 8 != 0) mix_detail::MixRoutine<A>(out, count % 8, channel, table);
}

template <TMixAxes A>
constexpr void Place(TMixRoutineTables& tables) {
  TMixRoutine routine = &mix_detail::MixRoutine<A>;
  if constexpr (A.Filter == NoFilter) routine = &VectorRoutine<A>;
  const int sampleLayout = A.SampleChannels - 1;
  if constexpr (A.OutputChannels == 1) tables.Mono[A.Interpolation][sampleLayout][A.Ramping][A.Filter] = routine;
  else tables.Stereo[A.Interpolation][sampleLayout][A.Ramping][A.Filter][A.DifferentGains] = routine;
}

template <int... Cells>
constexpr TMixRoutineTables MakeTables(std::integer_sequence<int, Cells...>) {
  TMixRoutineTables tables{};
  (Place<CellAxes(1, Cells / 2)>(tables), ...);
  (Place<CellAxes(2, Cells)>(tables), ...);
  return tables;
}

constexpr TMixRoutineTables Vector = MakeTables(std::make_integer_sequence<int, 96>{});

}  // namespace

const TMixRoutineTables* VectorMixRoutines() { return __builtin_cpu_supports("avx2") ? &Vector : nullptr; }

#else

const TMixRoutineTables* VectorMixRoutines() { return nullptr; }

#endif
