#pragma once
// What the education and specialists forms share: the department condition of their statements,
// the print time in the heading and the signatures under the table.

#include <string>

#include "db/database.h"
#include "host/compark.h"

class Tdm;

namespace hrdoc {
namespace office {
class TExcelShablon;
}

// Binds the department condition "ruc.ow1=:ow1 ... or owner=:ow or 0=:md" to department K;
// K = 0 selects the whole enterprise.
void BindDepartment(db::Query& q, int K);

// The local date and time of the run as "dd.mm.yyyy hh:mm:ss".
std::string PrintTime();

// Part "ppF": the director's and the personnel head's signature lines with their short names.
void PutSignatures(office::TExcelShablon& w, Tdm& dm, const compark& ctx);

}  // namespace hrdoc
