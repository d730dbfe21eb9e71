#pragma once
// The block of KWDLG's workplace choice, laid out once for both sides:
//
//   l_call("KWDLG", "KWDLG190L", &block)
//
// In: okpo holds the current enterprise code (its workplaces are ticked when the list opens).
// Out, when the user confirmed workplaces of one enterprise code: answer 0, places the names of
// the workplaces ticked (", " between them) and okpo their code. Otherwise the answer is
// non-zero and the texts are as they were. Texts are zero-terminated UTF-8.

#include <cstdint>

namespace hrdoc::kwdlg {

struct WorkplaceChoice {
  int32_t answer = 0;
  char okpo[64] = {};
  char places[2048] = {};
};

}  // namespace hrdoc::kwdlg
