#include "reports/cards/address_texts.h"

#include "db/database.h"
#include "host/statements.h"
#include "host/udm.h"

namespace hrdoc::cards {
namespace {

constexpr const char* kQryAds = R"(select ads.* from ZPADRES ads where ads.KP=:KP)";
constexpr const char* kQryAdf = R"(select adf.* from KDT2IADF adf where adf.KP=:KP)";

// Classifier pieces count when their code is set; street and house parts when not empty.
std::string compose(db::Query& q, const char* suffix) {
  auto name = [&](const char* base) { return std::string(base) + suffix; };
  std::string line;
  auto piece = [&](const std::string& text, const char* separator) {
    if (text.empty()) return;
    if (!line.empty()) line += separator;
    line += text;
  };
  auto coded = [&](const char* code, const char* text) {
    const db::Field c = q.field(name(code));
    if (!c.is_null() && c.as_int() != 0) piece(q.field(name(text)).as_string(), ", ");
  };
  coded("KODREG", *suffix ? "REG" : "REGN");
  coded("KODRAI", "RAI");
  coded("KODGOR", "GOR");
  coded("KODNAS", "NAS");
  piece(q.field(name("ULNAME")).as_string(), ", ");
  auto house = [&](const char* field, const char* prefix) {
    const std::string text = q.field(name(field)).as_string();
    if (text.empty()) return;
    // The house, building and flat bring their own blank after the comma; first, they need none.
    if (line.empty())
      line = std::string(prefix + 1) + text;
    else
      line += "," + std::string(prefix) + text;
  };
  house("DOM", " д.");
  house("KORP", " корп.");
  house("KV", " кв.");
  return line;
}

std::string address(Tdm& dm, int kp, const char* sql, const char* suffix) {
  db::Query q(*dm.ADOConnection);
  q.sql(sql);
  q.set("KP", int64_t{kp});
  q.open();
  return q.eof() ? std::string() : compose(q, suffix);
}

const bool statements = register_statements("address texts", {{"qryAds", kQryAds}, {"qryAdf", kQryAdf}});

}  // namespace

std::string registered_address(Tdm& dm, int kp) { return address(dm, kp, kQryAds, ""); }
std::string actual_address(Tdm& dm, int kp) { return address(dm, kp, kQryAdf, "F"); }

}  // namespace hrdoc::cards
