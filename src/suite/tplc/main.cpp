// hrdoc_tplc: compiles a report template source into the .xlsx the report opens.
#include <cstdio>
#include <exception>

#include <string>

#include "suite/tplc/template_source.h"
#include "suite/tplc/word_template.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: hrdoc_tplc SOURCE.tpl OUTPUT.xlsx | SOURCE.dtpl OUTPUT.docx\n");
    return 2;
  }
  try {
    std::string source = argv[1];
    if (source.size() > 5 && source.compare(source.size() - 5, 5, ".dtpl") == 0)
      hrdoc::tplc::compile_word_template(argv[1], argv[2]);
    else
      hrdoc::tplc::compile_template(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    std::remove(argv[2]);
    return 1;
  }
  return 0;
}
