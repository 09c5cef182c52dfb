#include "platform/wave_out.h"

namespace platform {
namespace {

class TNullWaveOut final : public TWaveOut {
 public:
  std::uint32_t Open(const TWaveFormat&) override { return MMSYSERR_NODRIVER; }
  std::uint32_t PrepareHeader(TWaveHeader&) override { return MMSYSERR_INVALHANDLE; }
  std::uint32_t Write(TWaveHeader&) override { return MMSYSERR_INVALHANDLE; }
  std::uint32_t UnprepareHeader(TWaveHeader&) override { return MMSYSERR_INVALHANDLE; }
  std::uint32_t Reset() override { return MMSYSERR_INVALHANDLE; }
  std::uint32_t Close() override { return MMSYSERR_INVALHANDLE; }
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
