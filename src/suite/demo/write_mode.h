#pragma once
// Forced (synchronous) page writes of a database file. Bulk loading with them off is many
// times faster; they are switched back on when the load is done.

#include <string>

namespace hrdoc::demo {

// Sets the database's write mode through an attachment of its own, logged in as the database
// layer would (ISC_USER / ISC_PASSWORD); throws db::Error.
void set_forced_writes(const std::string& database, bool on);

}  // namespace hrdoc::demo
