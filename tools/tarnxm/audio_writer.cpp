#include "tools/tarnxm/audio_writer.h"

#include "tools/tarnxm/flac_writer.h"
#include "tools/tarnxm/wav_writer.h"

std::uint16_t BitsPerSample(TSampleFormat format) {
  return format == TSampleFormat::S16 ? 16 : format == TSampleFormat::S24 ? 24 : 32;
}

const char* ContainerName(TContainer container) {
  return container == TContainer::Wav ? "wav" : container == TContainer::Raw ? "raw" : "flac";
}

std::unique_ptr<TAudioWriter> MakeAudioWriter(TByteSink& sink, const TAudioLayout& layout) {
  if (layout.Container == TContainer::Flac) return std::make_unique<TFlacWriter>(sink, layout);
  return std::make_unique<TWavWriter>(sink, layout, layout.Container == TContainer::Wav);
}
