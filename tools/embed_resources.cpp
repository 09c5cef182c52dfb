// embed_resources OUT.cpp [NAME TYPE FILE]...: writes a C++ source that holds
// each file's bytes and the table EmbeddedResources() returns.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 2 || (argc - 2) % 3 != 0) {
    std::fprintf(stderr, "usage: embed_resources OUT.cpp [NAME TYPE FILE]...\n");
    return 1;
  }
  std::string source = "#include \"platform/resources.h\"\n\nnamespace {\n";
  std::string table;
  for (int i = 2, n = 0; i < argc; i += 3, ++n) {
    std::ifstream file(argv[i + 2], std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "embed_resources: cannot read %s\n", argv[i + 2]);
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
    table += "      {\"" + std::string(argv[i]) + "\", \"" + argv[i + 1] + "\", {" + name + ", " +
             std::to_string(bytes.size()) + "}},\n";
  }
  source += "}  // namespace\n\nnamespace platform {\n\nconst TResourceSet& EmbeddedResources() {\n"
            "  static const TResourceSet resources{\n" + table + "  };\n  return resources;\n}\n\n"
            "}  // namespace platform\n";
  std::ofstream out(argv[1], std::ios::binary);
  out << source;
  return out ? 0 : 1;
}
