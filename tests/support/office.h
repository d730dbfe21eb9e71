#pragma once
// LibreOffice from outside: headless conversions with a private profile, and the text of a PDF.

#include <filesystem>
#include <string>

namespace hrdoc::test {

// The csv filter in UTF-8 with commas and quotes.
inline const std::string kCsvUtf8 = "csv:Text - txt - csv (StarCalc):44,34,76";

// Whether soffice (and pdftotext when asked) can be run here.
bool have_office(bool with_pdftotext = false);

// Converts a file with one soffice start and the profile in `profile`; the result goes to
// `outdir` (the file's folder when empty). False on failure.
bool soffice_convert(const std::filesystem::path& file, const std::string& filter,
                     const std::filesystem::path& profile, std::filesystem::path outdir = {},
                     const std::string& infilter = {});

// The text of a PDF by pdftotext (with -layout when asked); empty on failure.
std::string pdf_text(const std::filesystem::path& pdf, bool layout = true);

// Prints a book to PDF beside it (LibreOffice's profile and pdfinfo's account kept in `work`):
// the PDF's text, and pdfinfo's account in info.
std::string printed(const std::filesystem::path& book, const std::filesystem::path& work, std::string& info);

}  // namespace hrdoc::test
