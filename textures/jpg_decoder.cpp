#include "textures/jpg_decoder.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct TJpegErrorManager {
  jpeg_error_mgr Base;  // first, so that libjpeg's pointer to it is also a pointer to this
  std::jmp_buf Return;
};

// The state lives outside the function that calls setjmp, so nothing it
// holds is left indeterminate when libjpeg's error exit jumps back.
struct TJpegDecoder {
  jpeg_decompress_struct Info;
  TJpegErrorManager Error;
};

// libjpeg's own error exit ends the process; this one returns to the loader.
[[noreturn]] void ReturnToLoader(j_common_ptr info) {
  std::longjmp(reinterpret_cast<TJpegErrorManager*>(info->err)->Return, 1);
}

// libjpeg only warns about a file cut short or corrupt entropy data, and goes
// on filling in grey or garbled blocks; such a picture is a failure here. Trace
// messages (levels 0 and up) are dropped.
void FailOnWarning(j_common_ptr info, int level) {
  if (level < 0) ReturnToLoader(info);
}

// Only automatic objects without destructors live here, as a jump from
// inside libjpeg skips them.
bool Decode(TJpegDecoder& decoder, std::span<const std::uint8_t> data, TImage& image) {
  jpeg_decompress_struct& info = decoder.Info;
  if (setjmp(decoder.Error.Return) != 0) return false;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  if (info.jpeg_color_space == JCS_GRAYSCALE) info.out_color_space = JCS_GRAYSCALE;
  else if (info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB) info.out_color_space = JCS_RGB;
  else return false;
  jpeg_start_decompress(&info);

  const JDIMENSION width = info.output_width;
  const JDIMENSION height = info.output_height;
  const auto components = static_cast<JDIMENSION>(info.output_components);
  if (width > 65535 || height > 65535 || std::uint64_t{width} * height * 4 > MaxImageBytes) return false;
  image.Width = static_cast<std::uint16_t>(width);
  image.Height = static_cast<std::uint16_t>(height);
  image.Layout = TPixelLayout::Rgba;
  image.RowAlignment = 4;
  image.Pixels.assign(std::size_t{width} * height * 4, 0);
  // Row storage from libjpeg's pool, freed with the decompressor.
  JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, width * components, 1);
  while (info.output_scanline < height) {
    jpeg_read_scanlines(&info, row, 1);
    // The picture's top row becomes the last row of the array.
    std::uint8_t* out = image.Pixels.data() + std::size_t{height - info.output_scanline} * width * 4;
    for (JDIMENSION x = 0; x < width; ++x, out += 4) {
      const JSAMPLE* in = row[0] + x * components;
      out[0] = in[0];
      out[1] = in[components == 1 ? 0 : 1];
      out[2] = in[components == 1 ? 0 : 2];
      out[3] = 255;
    }
  }
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

bool DecodeJPG(std::span<const std::uint8_t> data, TImage& image) {
  TJpegDecoder decoder{};
  decoder.Info.err = jpeg_std_error(&decoder.Error.Base);
  decoder.Error.Base.error_exit = ReturnToLoader;
  decoder.Error.Base.emit_message = FailOnWarning;
  const bool decoded = Decode(decoder, data, image);
  // Safe on a decompressor that was never created: its memory manager is null.
  jpeg_destroy_decompress(&decoder.Info);
  if (!decoded) image = TImage{};
  return decoded;
}
