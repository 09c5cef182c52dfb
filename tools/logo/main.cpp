// make_logo SHAPES OUT.jpg: paints the intro's title from the letter shapes
// in SHAPES and writes it as a JPEG.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <string>

#include <jpeglib.h>

#include "tools/console/command_line.h"
#include "tools/logo/logo_render.h"
#include "tools/logo/logo_shapes.h"

namespace {

// Full colour resolution in every channel: the glow and the thin rims would
// smear with the usual halved chroma.
bool WriteJpeg(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 94, TRUE);
  for (int c = 0; c < info.num_components; ++c) {
    info.comp_info[c].h_samp_factor = 1;
    info.comp_info[c].v_samp_factor = 1;
  }
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + static_cast<std::size_t>(info.next_scanline) * width * 3);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Paints the intro's title from the letter shapes in SHAPES and writes it as a JPEG.", "make_logo");
  std::string shapesPath, jpegPath;
  app.add_option("SHAPES", shapesPath, "the letter shapes")->required();
  app.add_option("OUT", jpegPath, "the JPEG file to write")->required();
  if (const std::optional<int> status = ParseCommandLine(app, argc, argv)) return *status;
  std::ifstream in(shapesPath);
  if (!in) {
    std::fprintf(stderr, "make_logo: cannot read %s\n", shapesPath.c_str());
    return 1;
  }
  TLogoShapes shapes;
  std::string error;
  if (!ReadLogoShapes(in, shapes, error)) {
    std::fprintf(stderr, "make_logo: %s: %s\n", shapesPath.c_str(), error.c_str());
    return 1;
  }
  if (!WriteJpeg(jpegPath, shapes.PictureWidth, shapes.PictureHeight, RenderLogo(shapes))) {
    std::fprintf(stderr, "make_logo: cannot write %s\n", jpegPath.c_str());
    return 1;
  }
  return 0;
}
