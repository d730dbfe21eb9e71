#pragma once
// The personnel schema scripts of db/, compiled in.

namespace hrdoc::demo {

// Tables, generators and indexes (db/schema.sql).
const char* schema_sql();
// The per-user table ZPCLIENTS with its KPSEW column (db/zpclients.sql).
const char* zpclients_sql();

}  // namespace hrdoc::demo
