// hrdoc_tplc: compiles a report template source into the .xlsx the report opens.
#include <cstdio>
#include <exception>

#include "suite/tplc/template_source.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: hrdoc_tplc SOURCE.tpl OUTPUT.xlsx\n");
    return 2;
  }
  try {
    hrdoc::tplc::compile_template(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    std::remove(argv[2]);
    return 1;
  }
  return 0;
}
