#pragma once
// How the desktop lists the command table: by family of reports, with a title for the commands
// whose window names none in the table.

#include <string>

namespace hrdoc::gui {

// The family a command belongs to, as the clerks call it.
std::string family_of(const std::string& code);
// What the list shows for a command: its caption, else the title of its window.
std::string title_of(const std::string& code, const std::string& caption);
// The families in the order the list shows them.
const char* const* family_order(int& count);

}  // namespace hrdoc::gui
