// make_ctemplate: packs the code generator's fragment sources into the
// template file, at build time. Each source's name starts with its number.
//   make_ctemplate OUT FRAGMENT...

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "codegen/code_template.h"
#include "common/safe_file_writer.h"

namespace {

int Fail(const std::string& text) {
  std::fprintf(stderr, "make_ctemplate: %s\n", text.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Fail("usage: make_ctemplate OUT FRAGMENT...");
  tavrin::CodeTemplate code_template;
  for (int i = 2; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    const std::string name = path.filename().string();
    if (name.size() < 3 || !std::isdigit(static_cast<unsigned char>(name[0])) ||
        !std::isdigit(static_cast<unsigned char>(name[1])) || name[2] != '-') {
      return Fail(name + ": the name must start with a two-digit number and '-'");
    }
    const int number = (name[0] - '0') * 10 + (name[1] - '0');
    if (code_template.has(number)) return Fail(name + ": a second fragment " + name.substr(0, 2));
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return Fail(name + ": cannot read");
    code_template.fragments[number] = std::move(text);
  }
  tavrin::SafeFileWriter file;
  if (!file.Open(argv[1], "Cannot write the code template") ||
      !tavrin::WriteCodeTemplate(code_template, file.stream()) ||
      !file.Commit("Cannot write the code template")) {
    return Fail(std::string("cannot write ") + argv[1]);
  }
  return 0;
}
