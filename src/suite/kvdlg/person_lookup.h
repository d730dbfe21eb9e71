#pragma once
// KVDLG's person picker "KPN2": find an employee by name, pick one from the list.

#include "host/kvdlg_lookup.h"

class compark;

namespace hrdoc::suite {

// Asks for a name (or its beginning), lists the employees whose full name contains it with
// their personnel number and unit, and fills the record from the chosen one: 0. Nothing
// chosen or nobody found: 1, key 0.
int person_lookup(compark* ctx, kvdlg::PersonPick& pick);

}  // namespace hrdoc::suite
