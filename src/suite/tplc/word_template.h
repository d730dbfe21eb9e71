#pragma once
// Word templates are kept as text that reads like the letter and compiled into the .docx a
// report fills. See templates/README.md for the format.

#include <string>

namespace hrdoc::tplc {

// Compiles the source text into the parts of a .docx and writes it; a mistake throws
// TemplateError naming the file and line.
void compile_word_template(const std::string& source_path, const std::string& docx_path);
// The document.xml, styles.xml and numbering.xml of a source, for tests.
struct WordParts {
  std::string document, styles, numbering;
};
WordParts word_parts(const std::string& text, const std::string& file);

}  // namespace hrdoc::tplc
