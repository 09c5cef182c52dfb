// Any bytes as a BMP file: decoded to rows that match the size it reports,
// or refused with a reason.
#include "fuzz/image_check.h"
#include "fuzz/input_limits.h"
#include "textures/bmp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > MaxPictureInputBytes) return 0;
  TImage image;
  if (DecodeBMP({data, size}, image) == TBmpError::None) CheckImage(image);
  return 0;
}
