#include "host/region.h"

#include <dlfcn.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "host/compark.h"
#include "suite/keyf32/keyf32.h"
#include "support/work_dir.h"
#include "text/codepage.h"

namespace {

// A context whose library folder is the build's bin folder, where KEYF32.so and REGKL lie.
struct Context {
  compark ctx;
  explicit Context(const std::string& dir = HRDOC_BIN_DIR) {
    std::snprintf(ctx.lib_dir, sizeof ctx.lib_dir, "%s", dir.c_str());
  }
};

}  // namespace

TEST(Region, CodesGiveTheirNamesOrNothing) {
  Context c;
  // Only the low 16 bits of the code are the key.
  const std::pair<int, std::optional<std::string>> cases[] = {
      {50, "Московская область"}, {1, "Республика Адыгея (Адыгея)"}, {77, "г. Москва"},
      {86, "Ханты-Мансийский автономный округ - Югра"}, {99, "Иные территории, включая г. Байконур"},
      {65536 + 50, "Московская область"}, {0, std::nullopt}, {82, std::nullopt}, {100, std::nullopt}, {-1, std::nullopt}};
  for (const auto& [code, name] : cases) EXPECT_EQ(hrdoc::host::region_name(c.ctx, code), name) << code;
  for (int code = 1; code <= 79; ++code) {
    auto name = hrdoc::host::region_name(c.ctx, code);
    ASSERT_TRUE(name) << code;
    EXPECT_GE(name->size(), 10u) << code;
  }
}

TEST(Region, AMissingLibraryOrClassifierIsAnError) {
  hrdoc::test::WorkDir work("region");
  const std::string dir = work.slashed();
  Context none(dir);
  try {
    hrdoc::host::region_name(none.ctx, 50);
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("KEYF32.so"), std::string::npos);
  }
  // The library without its classifier beside it.
  std::filesystem::copy_file(std::string(HRDOC_BIN_DIR) + "KEYF32.so", dir + "KEYF32.so");
  EXPECT_THROW(hrdoc::host::region_name(none.ctx, 50), std::runtime_error);
}

TEST(Keyf32, RecordsCarryTheKeyMostSignificantByteFirstAndTheNameInCp866) {
  void* lib = dlopen((std::string(HRDOC_BIN_DIR) + "KEYF32.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << dlerror();
  auto open = reinterpret_cast<keyf32::OpenFn>(dlsym(lib, "_kffo"));
  auto read = reinterpret_cast<keyf32::ReadFn>(dlsym(lib, "_kfre"));
  ASSERT_TRUE(open && read);
  int32_t h = open(0, "REGKL");
  ASSERT_GT(h, 0);
  EXPECT_EQ(open(0, "REGKL"), h);

  unsigned char rec[keyf32::kRegionRecordSize] = {0, 78};
  ASSERT_EQ(read(h, rec), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(rec), 3), std::string("\0\x4E\0", 3));
  const char* name = reinterpret_cast<const char*>(rec + 3);
  EXPECT_EQ(std::string(name, strnlen(name, 50)), hrdoc::text::utf8_to_cp866("г. Санкт-Петербург"));
  EXPECT_EQ(static_cast<unsigned char>(name[0]), 0xA3);  // г in CP866

  // The little-endian reading of 50 is 12800, which no region has.
  unsigned char swapped[keyf32::kRegionRecordSize] = {50, 0};
  EXPECT_NE(read(h, swapped), 0);
  EXPECT_EQ(swapped[3], 0);
  EXPECT_NE(read(h + 100, rec), 0);
  EXPECT_NE(read(h, nullptr), 0);
  EXPECT_EQ(open(0, "NOSUCHFILE"), -1);
  dlclose(lib);
}
