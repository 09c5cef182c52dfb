#include "textures/image_source.h"
#include "textures/jpg_decoder.h"
#include "textures/load_failure.h"
#include "textures/texture_loader.h"

bool LoadJPGTexture(const std::string& name, std::uint32_t& texture, bool fromResource) {
  TImageBytes bytes;
  const TSourceStatus status = ReadImageSource(name, "JPEG", fromResource, bytes);
  if (status == TSourceStatus::ResourceNotFound)
    return LoadFailure("File not found in resource - " + name, "JPG Texture");
  TImage image;
  if (status != TSourceStatus::Ok || !DecodeJPG(bytes.Data, image)) {
    if (fromResource) return LoadFailure("Couldn't load JPG Resource - " + Quoted(name), "BMP Unit");
    return LoadFailure("Couldn't load JPG - " + Quoted(name), "BMP Unit");
  }
  texture = UploadImage(image);
  return true;
}
