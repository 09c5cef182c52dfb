#include <cstdio>

#include "textures/bmp_decoder.h"
#include "textures/image_source.h"
#include "textures/load_failure.h"
#include "textures/texture_loader.h"

bool LoadBMPTexture(const std::string& name, std::uint32_t& texture, bool fromResource) {
  TImageBytes bytes;
  switch (ReadImageSource(name, "BMP", fromResource, bytes)) {
    case TSourceStatus::Ok: break;
    case TSourceStatus::ResourceNotFound: return LoadFailure("File not found in resource - " + name, "BMP Texture");
    case TSourceStatus::ResourceUnreadable: return LoadFailure("Unable to read from resource - " + name, "BMP Unit");
    case TSourceStatus::FileNotOpened: return LoadFailure("Error opening " + name, "BMP Unit");
    case TSourceStatus::FileUnreadable: return LoadFailure("Error reading bitmap data", "BMP Unit");
  }
  TImage image;
  const TBmpError error = DecodeBMP(bytes.Data, image);
  if (error != TBmpError::None) {
    // The message box has only a few fixed texts; the log says which check failed.
    std::fprintf(stderr, "%s: %s\n", name.c_str(), DescribeBmpError(error));
    if (fromResource) return LoadFailure("Unable to read from resource - " + name, "BMP Unit");
    return LoadFailure(error == TBmpError::ShortPalette ? "Error reading palette" : "Error reading bitmap data",
                       "BMP Unit");
  }
  texture = UploadImage(image);
  return true;
}
