// Builds the region classifier REGKL from its UTF-8 source: one "code<TAB>name" per line,
// '#' starts a comment line.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include "suite/keyf32/keyf32.h"
#include "text/codepage.h"

namespace {

int fail(const std::string& where, const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", where.c_str(), what.c_str());
  return 1;
}

void put_le(std::string& out, uint32_t v, int n) {
  for (int i = 0; i < n; ++i) out += static_cast<char>(v >> (8 * i) & 0xFF);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return fail("regkl_make", "usage: regkl_make <regkl.txt> <REGKL>");
  std::ifstream in(argv[1]);
  if (!in) return fail(argv[1], "cannot be read");
  std::map<int, std::string> regions;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string where = std::string(argv[1]) + ":" + std::to_string(number);
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.find('\t');
    if (tab != 2 || !std::isdigit(static_cast<unsigned char>(line[0])) ||
        !std::isdigit(static_cast<unsigned char>(line[1])))
      return fail(where, "expected a two-digit code, a tab and a name");
    int code = std::stoi(line.substr(0, 2));
    std::string name = line.substr(3);
    std::string oem = hrdoc::text::utf8_to_cp866(name);
    if (name.empty()) return fail(where, "the name is empty");
    if (oem.find('?') != std::string::npos) return fail(where, "the name has a character CP866 lacks");
    if (oem.size() > static_cast<size_t>(keyf32::kRegionNameSize))
      return fail(where, "the name is longer than " + std::to_string(keyf32::kRegionNameSize) + " bytes");
    if (!regions.emplace(code, oem).second) return fail(where, "code " + line.substr(0, 2) + " is repeated");
  }
  std::string out(keyf32::kMagic, sizeof keyf32::kMagic);
  put_le(out, keyf32::kRegionRecordSize, 2);
  put_le(out, 2, 2);
  put_le(out, static_cast<uint32_t>(regions.size()), 4);
  // Ascending codes are ascending big-endian keys.
  for (const auto& [code, oem] : regions) {
    std::string record(keyf32::kRegionRecordSize, '\0');
    record[0] = static_cast<char>(code >> 8 & 0xFF);
    record[1] = static_cast<char>(code & 0xFF);
    std::memcpy(&record[keyf32::kRegionNameOffset], oem.data(), oem.size());
    out += record;
  }
  std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
  file << out;
  file.close();
  if (!file) return fail(argv[2], "cannot be written");
  return 0;
}
