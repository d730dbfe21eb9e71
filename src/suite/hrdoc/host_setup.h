#pragma once
// What both hosts (the command line and the desktop) do alike: find their folder, load
// libhrdoc.so, wire the context record and call main_dll.

#include <filesystem>
#include <string>

class compark;
namespace hrdoc::ui {
class Ui;
}

namespace hrdoc::host {

// The folder of the running program; the library, its siblings and the templates lie there.
std::filesystem::path exe_dir();
std::string login_name();

// libhrdoc.so of a folder, loaded while the object lives.
class Library {
 public:
  Library() = default;
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  // False with the loader's message in error.
  bool open(const std::filesystem::path& folder, std::string& error);
  bool is_open() const { return handle_ != nullptr; }
  void* symbol(const char* name) const;
  template <class F>
  F get(const char* name) const {
    return reinterpret_cast<F>(symbol(name));
  }
  // main_dll with {host path, command, &value}, as the suite's host calls it; -1 without an entry.
  int call(compark& ctx, const std::string& command, int value) const;

 private:
  void* handle_ = nullptr;
};

// Wires the context as the host does: library, template and work folders beside `dir`, the
// user interface, the documents folder (with its trailing "/"), the backend (0 native, 1 Calc),
// the user and today's dates.
void wire_context(compark& ctx, ui::Ui& ui, const std::filesystem::path& dir, const std::string& out_dir, int office,
                  const std::string& user);

}  // namespace hrdoc::host
