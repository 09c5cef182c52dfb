// Any bytes as a JPEG file: decoded to rows that match the size it reports,
// or refused, with an empty image.
#include <cstdlib>

#include "fuzz/image_check.h"
#include "fuzz/input_limits.h"
#include "textures/jpg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > MaxPictureInputBytes) return 0;
  TImage image;
  if (DecodeJPG({data, size}, image)) CheckImage(image);
  else if (!image.Pixels.empty()) std::abort();
  return 0;
}
