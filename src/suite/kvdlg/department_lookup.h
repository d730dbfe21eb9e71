#pragma once
#include <cstdint>
#include <string>

#include "ui/ui.h"

class compark;

namespace hrdoc::suite {

// Finds the department's personnel-number field and short name in the database of the context.
// Without a database every key is accepted with an empty name.
bool lookup_department(compark* ctx, int kp, int32_t& tn, std::string& sname);

// The departments of the enterprise (OTZKPN nodes with TN=0) as a tree, parents first, siblings
// by name. False after an error box, or without a database.
bool department_tree(compark* ctx, ui::Tree& tree);

// The "..." of the department entry: one department from the tree; of the set entry: ticks in
// the tree. Both write the keys into the entry.
bool pick_department(compark* ctx, ui::Field& self);
bool tick_departments(compark* ctx, ui::Field& self);

}  // namespace hrdoc::suite
