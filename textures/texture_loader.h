#pragma once
// Images named like files ("logo.jpg", "font.bmp") to mipmapped OpenGL
// textures with linear filtering, from files or from the program's resources.
// Failures are shown in a message box; the texture name is written only on
// success. All of these need a current rendering context.
#include <cstdint>
#include <string>

#include "textures/image.h"

// Chooses the loader by the last four characters: ".BMP", ".JPG" or ".TGA",
// in any case; any other name loads nothing and says nothing.
bool LoadTexture(const std::string& name, std::uint32_t& texture, bool fromResource);

bool LoadBMPTexture(const std::string& name, std::uint32_t& texture, bool fromResource);
bool LoadJPGTexture(const std::string& name, std::uint32_t& texture, bool fromResource);
bool LoadTGATexture(const std::string& name, std::uint32_t& texture, bool fromResource);

// layout is GL_RGB or GL_RGBA; the new texture is left bound.
std::uint32_t CreateTexture(std::uint16_t width, std::uint16_t height, std::uint32_t layout,
                            const std::uint8_t* pixels);

// CreateTexture with the image's row alignment for the upload; the unpack
// alignment is back at OpenGL's default of 4 afterwards.
std::uint32_t UploadImage(const TImage& image);
