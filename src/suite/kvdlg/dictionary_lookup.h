#pragma once
// KVDLG's dictionary look-ups "SPRANYEX" and "SPRANYEX2" over any table of the host's database.

#include "host/kvdlg_lookup.h"

class compark;

namespace hrdoc::suite {

struct DictionaryCall {
  const char* title = nullptr;
  const char* table = nullptr;
  const char* key_list = nullptr;
  const char* columns = nullptr;
  kvdlg::LookupEntry* keys = nullptr;
  int key_count = 0;
  kvdlg::LookupEntry* results = nullptr;
  int result_count = 0;
  bool filtered = false;                  // "SPRANYEX2"
  kvdlg::LookupFilter* filter = nullptr;  // "SPRANYEX2": may be null (no filter)
  kvdlg::LookupReply* reply = nullptr;
};

// Lists the rows (those passing the filter) with the visible columns, the current key marked,
// and fills the result entries from the chosen row: 0. Nothing chosen: 1, entries untouched.
// With a filter block, a non-zero key picks its row without asking. Failures show an error
// box and answer -1.
int dictionary_lookup(compark* ctx, const DictionaryCall& call);

}  // namespace hrdoc::suite
