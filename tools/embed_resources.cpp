// embed_resources OUT.cpp [NAME TYPE FILE]...: writes a C++ source that holds
// each file's bytes and the table EmbeddedResources() returns.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/console/command_line.h"

int main(int argc, char** argv) {
  CLI::App app("Writes a C++ source that holds each file's bytes and the table EmbeddedResources() returns.",
               "embed_resources");
  std::string sourcePath;
  std::vector<std::string> entries;
  app.add_option("OUT", sourcePath, "the C++ source to write")->required();
  app.add_option("NAME_TYPE_FILE", entries, "each resource's name, type and file, three words each");
  app.callback([&entries] {
    if (entries.size() % 3 != 0) throw CLI::ValidationError("NAME_TYPE_FILE", "three words for each resource");
  });
  if (const std::optional<int> status = ParseCommandLine(app, argc, argv)) return *status;
  std::string source = "#include \"platform/resources.h\"\n\nnamespace {\n";
  std::string table;
  for (std::size_t i = 0, n = 0; i < entries.size(); i += 3, ++n) {
    std::ifstream file(entries[i + 2], std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "embed_resources: cannot read %s\n", entries[i + 2].c_str());
      return 1;
    }
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    const std::string name = "Data" + std::to_string(n);
    source += "const std::uint8_t " + name + "[] = {";
    for (std::size_t k = 0; k < bytes.size(); ++k) {
      if (k % 24 == 0) source += '\n';
      source += std::to_string(bytes[k]);
      source += ',';
    }
    if (bytes.empty()) source += "0";
    source += "};\n";
    table += "      {\"" + entries[i] + "\", \"" + entries[i + 1] + "\", {" + name + ", " +
             std::to_string(bytes.size()) + "}},\n";
  }
  source +=
      "}  // namespace\n\nnamespace platform {\n\nconst TResourceSet& EmbeddedResources() {\n"
      "  static const TResourceSet resources{\n" +
      table +
      "  };\n  return resources;\n}\n\n"
      "}  // namespace platform\n";
  std::ofstream out(sourcePath, std::ios::binary);
  out << source;
  return out ? 0 : 1;
}
