#include "platform/wave_out.h"

namespace platform {
namespace {

class TNullWaveOut final : public TWaveOut {
 public:
  std::uint32_t Open(const TWaveFormat&) override { return MMSYSERR_NODRIVER; }
  std::uint32_t PrepareHeader(TWaveHeader&) override { return MMSYSERR_INVALHANDLE; }
  std::uint32_t Write(TWaveHeader&) override { return MMSYSERR_INVALHANDLE; }
  std::uint32_t UnprepareHeader(TWaveHeader&) override { return MMSYSERR_INVALHANDLE; }
  std::uint32_t Pause() override { return MMSYSERR_INVALHANDLE; }
  std::uint32_t Restart() override { return MMSYSERR_INVALHANDLE; }
  std::uint32_t Reset() override { return MMSYSERR_INVALHANDLE; }
  std::uint32_t Close() override { return MMSYSERR_INVALHANDLE; }
  std::uint32_t Underruns() const override { return 0; }
};

TWaveOutFactory& Factory() {
  static TWaveOutFactory factory = CreateNullWaveOut;
  return factory;
}

}  // namespace

std::unique_ptr<TWaveOut> CreateNullWaveOut() { return std::make_unique<TNullWaveOut>(); }

void SetWaveOutFactory(TWaveOutFactory factory) { Factory() = factory ? std::move(factory) : CreateNullWaveOut; }

std::unique_ptr<TWaveOut> CreateWaveOut() { return Factory()(); }

}  // namespace platform
