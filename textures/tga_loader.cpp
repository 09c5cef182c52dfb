#include "textures/image_source.h"
#include "textures/load_failure.h"
#include "textures/texture_loader.h"
#include "textures/tga_decoder.h"

namespace {

bool HeaderFailure(const std::string& name, const char* reason) {
  return LoadFailure("Couldn't load " + Quoted(name) + ". " + reason, "TGA File Error");
}

}  // namespace

bool LoadTGATexture(const std::string& name, std::uint32_t& texture, bool fromResource) {
  TImageBytes bytes;
  switch (ReadImageSource(name, "TGA", fromResource, bytes)) {
    case TSourceStatus::Ok: break;
    case TSourceStatus::ResourceNotFound: return LoadFailure("File not found in resource - " + name, "TGA Texture");
    case TSourceStatus::ResourceUnreadable: return LoadFailure("Unable to read from resource - " + name, "BMP Unit");
    case TSourceStatus::FileNotOpened: return LoadFailure("File not found  - " + name, "TGA Texture");
    case TSourceStatus::FileUnreadable:
      return LoadFailure("Couldn't read file " + Quoted(name) + ".", "TGA File Error");
  }
  TImage image;
  switch (DecodeTGA(bytes.Data, image)) {
    case TTgaError::None: break;
    case TTgaError::BadImageType: return HeaderFailure(name, "Only 24 and 32bit TGA supported.");
    case TTgaError::ColorMapped: return HeaderFailure(name, "Colormapped TGA files not supported.");
    case TTgaError::BadDepth: return HeaderFailure(name, "Only 24 and 32 bit TGA files supported.");
    case TTgaError::ShortHeader:
    case TTgaError::BadSize:
    case TTgaError::ShortPixels:
      if (fromResource) return LoadFailure("Unable to read from resource - " + name, "BMP Unit");
      return LoadFailure("Couldn't read file " + Quoted(name) + ".", "TGA File Error");
  }
  texture = UploadImage(image);
  return true;
}
