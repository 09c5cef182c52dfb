#pragma once
// Audio files written block by block: WAV (16-bit, 24-bit or 32-bit float),
// raw samples without a header, or FLAC (16 or 24 bits).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "tools/tarnxm/byte_sink.h"

enum class TSampleFormat { S16, S24, F32 };
enum class TContainer { Wav, Raw, Flac };

struct TAudioLayout {
  std::uint32_t Rate = 44100;
  std::uint16_t Channels = 2;
  TSampleFormat Format = TSampleFormat::S16;
  TContainer Container = TContainer::Wav;
};

std::uint16_t BitsPerSample(TSampleFormat format);
// "wav", "raw", "flac": the file extension too.
const char* ContainerName(TContainer container);

class TAudioWriter {
 public:
  virtual ~TAudioWriter() = default;
  // Interleaved samples, each as stored: an integer of the format's bits,
  // or for F32 the float's bits. False with the reason in Error.
  virtual bool Write(std::span<const std::int32_t> samples) = 0;
  // Completes the file (sizes, summaries); the sink is then whole.
  virtual bool Finish() = 0;

  std::string Error;
};

// A writer of the layout's container into the sink, which must outlive it.
std::unique_ptr<TAudioWriter> MakeAudioWriter(TByteSink& sink, const TAudioLayout& layout);
