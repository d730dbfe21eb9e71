#pragma once
// The enterprise's region name for the requisites line of the supplementary agreements.

#include <optional>
#include <string>

class compark;

namespace hrdoc::host {

// The name of region code (KODREG; its low 16 bits are the key) from the suite's classifier
// REGKL, read through KEYF32.so in the context's library folder; nothing when the classifier
// holds no such code. Throws std::runtime_error when KEYF32.so or REGKL cannot be opened.
std::optional<std::string> region_name(const compark& ctx, int code);

}  // namespace hrdoc::host
