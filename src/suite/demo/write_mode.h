#pragma once
// Forced (synchronous) page writes of a database file. Bulk loading with them off is many
// times faster; they are switched back on when the load is done.

#include <string>

namespace hrdoc::demo {

// Sets the database's write mode through an attachment of its own; throws db::Error.
void set_forced_writes(const std::string& database, bool on, const std::string& user = "SYSDBA",
                       const std::string& password = "masterkey");

}  // namespace hrdoc::demo
