#pragma once
// The host's database session: connects the context's data module and loads what the
// database remembers for the user.

#include <memory>
#include <string>

#include "db/database.h"

namespace CLI {
class App;
}
class compark;

namespace hrdoc::host {

class Session {
 public:
  Session();
  ~Session();
  // The session owns the connection the context's data module points into.
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  // Connects to the database and loads the context from it; shows an error box and returns
  // false when it cannot. A server that cannot be reached or refuses the login is named in one
  // line; the password never appears.
  bool connect(compark& ctx, const std::string& database, const db::ConnectOptions& options = {});
  // Makes kp the selected department, reading its name when a database is connected.
  bool select_department(compark& ctx, int kp);
  // When the user has no department of their own: the whole enterprise (key 0) under the name
  // of the root of the tree, if the database has one; nothing changes otherwise.
  void select_enterprise_if_none(compark& ctx);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Subcommands that need the database layer ("demo").
void add_subcommands(CLI::App& app);
int run_subcommands(CLI::App& app);

}  // namespace hrdoc::host
