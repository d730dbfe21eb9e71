#pragma once
// Where finished documents go. A report works on a copy of its template in a private work
// folder; only a complete document is moved into the documents folder, under a name that says
// what it is, and never over a file that is already there.

#include <string>

class compark;

namespace hrdoc::host {

// The calls that touch the documents folder, replaceable so tests can make them fail.
struct FileCalls {
  int (*link)(const char* from, const char* to);
  int (*rename)(const char* from, const char* to);
  int (*unlink)(const char* path);
};
FileCalls& file_calls();

// The lock file of the work copies with one extension (".xlsx"): byte n stands for the copy
// "WLST_nn<ext>" while a report works on it. -1 when it cannot be opened.
int open_slot_locks(const std::string& work_dir, const std::string& ext);
// Takes byte `slot` of an open lock file; false when a running report holds it.
bool lock_slot(int lock_fd, int slot);

// The private work folder inside a documents folder (both end with '/').
std::string work_folder(const std::string& out_dir);

// Makes the work folder and removes the work copies no running report holds: what a killed
// run left behind. Throws std::runtime_error when the folder cannot be made.
void prepare_work_folder(const std::string& work_dir);

// Moves `work_path` into `out_dir` as "<name><ext>", or "<name> (2)<ext>", "<name> (3)<ext>"...
// when taken. The document appears whole or not at all. Returns its path; throws
// std::runtime_error (the work copy stays) when it cannot be placed.
std::string place_document(const std::string& work_path, const std::string& out_dir, const std::string& name);

// A saved book of a run: when it is a work copy and the run has a documents folder, it is
// placed there under the run's report code and date; otherwise it stays where it is.
std::string publish_document(compark& ctx, const std::string& saved_path);

}  // namespace hrdoc::host
