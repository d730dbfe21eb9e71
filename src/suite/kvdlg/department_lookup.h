#pragma once
#include <cstdint>
#include <string>

class compark;

namespace hrdoc::suite {

// Finds the department's personnel-number field and short name in the database of the context.
// Without a database every key is accepted with an empty name.
bool lookup_department(compark* ctx, int kp, int32_t& tn, std::string& sname);

}  // namespace hrdoc::suite
