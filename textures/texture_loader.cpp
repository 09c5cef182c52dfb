#include "textures/texture_loader.h"

#include "platform/gl.h"

#include <algorithm>
#include <cctype>

bool LoadTexture(const std::string& name, std::uint32_t& texture, bool fromResource) {
  if (name.size() < 4) return false;
  std::string extension = name.substr(name.size() - 4);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  if (extension == ".BMP") return LoadBMPTexture(name, texture, fromResource);
  if (extension == ".JPG") return LoadJPGTexture(name, texture, fromResource);
  if (extension == ".TGA") return LoadTGATexture(name, texture, fromResource);
  return false;
}

std::uint32_t CreateTexture(std::uint16_t width, std::uint16_t height, std::uint32_t layout,
                            const std::uint8_t* pixels) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  // Not a mipmap filter: the levels built below are never sampled.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  const GLint internalFormat = layout == GL_RGBA ? GL_RGBA : 3;
  gluBuild2DMipmaps(GL_TEXTURE_2D, internalFormat, width, height, layout, GL_UNSIGNED_BYTE, pixels);
  return name;
}

std::uint32_t UploadImage(const TImage& image) {
  const GLenum layout = image.Layout == TPixelLayout::Rgba ? GL_RGBA : GL_RGB;
  if (image.RowAlignment != 4) glPixelStorei(GL_UNPACK_ALIGNMENT, image.RowAlignment);
  const std::uint32_t name = CreateTexture(image.Width, image.Height, layout, image.Pixels.data());
  if (image.RowAlignment != 4) glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  return name;
}
