#include "tests/textures/image_bytes.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

void PutU16(TBytes& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(TBytes& out, std::uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

}  // namespace

TBytes BmpFile(const TBmpFields& fields, const TBytes& rest) {
  const bool masked = fields.Compression == 3;
  const std::uint32_t headersEnd = 14 + fields.InfoSize + (masked && fields.InfoSize == 40 ? 12 : 0);
  const std::uint32_t pixelsStart = headersEnd + fields.Gap;
  TBytes out = {'B', 'M'};
  PutU32(out, static_cast<std::uint32_t>(pixelsStart + rest.size()));
  PutU32(out, 0);
  PutU32(out, fields.DataOffset.value_or(pixelsStart + fields.ColorsUsed * 4));
  PutU32(out, fields.InfoSize);
  PutU32(out, static_cast<std::uint32_t>(fields.Width));
  PutU32(out, static_cast<std::uint32_t>(fields.Height));
  PutU16(out, 1);
  PutU16(out, fields.BitsPerPixel);
  PutU32(out, fields.Compression);
  PutU32(out, fields.ImageSize);
  PutU32(out, 2835);
  PutU32(out, 2835);
  PutU32(out, fields.ColorsUsed);
  PutU32(out, 0);
  for (int k = 0; masked && k < (fields.InfoSize >= 56 ? 4 : 3); ++k) PutU32(out, fields.Masks[k]);
  out.resize(headersEnd, 0);
  out.resize(pixelsStart, 0xEE);
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}

TBytes TgaFile(const TTgaFields& fields, const TBytes& rest) {
  TBytes out = {fields.IdLength, fields.ColorMapType, fields.ImageType, 0, 0, 0, 0, 0};
  PutU16(out, 0);
  PutU16(out, 0);
  PutU16(out, fields.Width);
  PutU16(out, fields.Height);
  out.push_back(fields.Depth);
  out.push_back(fields.Descriptor);
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}

TBytes JpegFile(int width, int height, int components, const TBytes& samples) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  for (int c = 0; c < info.num_components; ++c) {
    info.comp_info[c].h_samp_factor = 1;
    info.comp_info[c].v_samp_factor = 1;
  }
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + std::size_t{info.next_scanline} * width * components);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  TBytes out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}
