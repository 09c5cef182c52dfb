// Any bytes as a TGA file: decoded to rows that match the size it reports,
// or refused with a reason.
#include "fuzz/image_check.h"
#include "fuzz/input_limits.h"
#include "textures/tga_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > MaxTgaInputBytes) return 0;
  TImage image;
  if (DecodeTGA({data, size}, image) == TTgaError::None) CheckImage(image);
  return 0;
}
