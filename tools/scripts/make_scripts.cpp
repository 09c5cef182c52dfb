// make_scripts OUT.cpp TEXTURE_SOURCE MESH_SOURCE: assembles the intro's two
// byte scripts and writes them as the C++ source behind
// resources/intro_scripts.h.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/console/command_line.h"
#include "tools/scripts/script_sources.h"

namespace {

bool ReadText(const char* path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  text.assign(std::istreambuf_iterator<char>(file), {});
  return static_cast<bool>(file) || file.eof();
}

std::string ByteArray(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  std::string source = "const std::uint8_t " + name + "[] = {";
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    if (k % 24 == 0) source += '\n';
    source += std::to_string(bytes[k]);
    source += ',';
  }
  return source + "};\n";
}

bool Assembled(const char* path, TAssembly (*assemble)(std::string_view), std::vector<std::uint8_t>& bytes) {
  std::string text;
  if (!ReadText(path, text)) {
    std::fprintf(stderr, "make_scripts: cannot read %s\n", path);
    return false;
  }
  TAssembly assembly = assemble(text);
  if (!assembly.Error.empty() || assembly.Bytes.empty()) {
    std::fprintf(stderr, "%s: %s\n", path, assembly.Error.empty() ? "no operations" : assembly.Error.c_str());
    return false;
  }
  bytes = std::move(assembly.Bytes);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Assembles the intro's texture and mesh scripts and writes them as a C++ source.", "make_scripts");
  std::string sourcePath, texturePath, meshPath;
  app.add_option("OUT", sourcePath, "the C++ source to write")->required();
  app.add_option("TEXTURE_SOURCE", texturePath, "the texture script's source")->required();
  app.add_option("MESH_SOURCE", meshPath, "the mesh script's source")->required();
  if (const std::optional<int> status = ParseCommandLine(app, argc, argv)) return *status;
  std::vector<std::uint8_t> texture, mesh;
  if (!Assembled(texturePath.c_str(), AssembleTextureScript, texture) ||
      !Assembled(meshPath.c_str(), AssembleMeshScript, mesh))
    return 1;
  const std::string source = "#include \"resources/intro_scripts.h\"\n\nnamespace {\n" +
                             ByteArray("TextureScript", texture) + ByteArray("MeshScript", mesh) +
                             "}  // namespace\n\n"
                             "std::span<const std::uint8_t> IntroTextureScript() { return TextureScript; }\n"
                             "std::span<const std::uint8_t> IntroMeshScript() { return MeshScript; }\n";
  std::ofstream out(sourcePath, std::ios::binary);
  out << source;
  return out ? 0 : 1;
}
