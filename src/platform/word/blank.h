// The parts of a blank A4 document: what a new document is made of when no template is named.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace hrdoc::word {

std::vector<std::pair<std::string, std::string>> blank_parts();

}  // namespace hrdoc::word
