#include "reports/agreements/agreement_common.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

#include "db/database.h"
#include "host/region.h"
#include "host/report_window.h"
#include "host/compark_text.h"
#include "host/statements.h"
#include "host/udm.h"
#include "office/conv.h"
#include "text/date.h"
#include "text/strings.h"

namespace hrdoc::agreements {

namespace {

// Listed under the salary agreement, whose statements they are.
const bool statements = register_statements("HRDOC260", {{"qryPasp", kQryPasp},
                                                         {"qrySelect", kQrySelect},
                                                         {"qryT2", kQryT2},
                                                         {"signatory", kQryPerson},
                                                         {"settings", kQryConst}});

// Length in bytes of the UTF-8 character that starts with byte b.
size_t char_length(unsigned char b) {
  if (b < 0x80) return 1;
  if ((b & 0xE0) == 0xC0) return 2;
  if ((b & 0xF0) == 0xE0) return 3;
  if ((b & 0xF8) == 0xF0) return 4;
  return 1;
}

// The first character of a word and the rest, as UTF-8.
std::pair<std::string, std::string> split_first(const std::string& word) {
  if (word.empty()) return {};
  const size_t n = std::min(char_length(static_cast<unsigned char>(word[0])), word.size());
  return {word.substr(0, n), word.substr(n)};
}

std::optional<TDateTime> date_field(const db::Query& q, const char* name) {
  const db::Field f = q.field(name);
  if (f.is_null()) return std::nullopt;
  return f.as_date();
}

std::string text_field(const db::Query& q, const char* name) { return text::trim(q.field(name).as_string()); }

}  // namespace

std::string month_word(int month) {
  static constexpr std::array<const char*, 12> kWords = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                                                         "июля",   "августа", "сентября", "октября", "ноября", "декабря"};
  return month >= 1 && month <= 12 ? kWords[static_cast<size_t>(month - 1)] : "";
}

std::string date_words(TDateTime d, bool two_digit_day) {
  const text::Ymd ymd = text::decode_date(d);
  char day[8];
  std::snprintf(day, sizeof day, two_digit_day ? "%02d" : "%d", int{ymd.day});
  return std::string(day) + " " + month_word(ymd.month) + " " + std::to_string(ymd.year);
}

std::string short_name(std::string_view surname, std::string_view name, std::string_view patronymic) {
  std::string out;
  for (std::string_view w : {name, patronymic}) {
    const std::string first = split_first(text::trim(w)).first;
    if (!first.empty()) out += first + ".";
  }
  const auto [first, rest] = split_first(text::trim(surname));
  return out + first + text::lower(rest);
}

std::string short_name(std::string_view full_name) {
  std::array<std::string, 3> words;
  size_t n = 0, i = 0;
  while (n < words.size()) {
    while (i < full_name.size() && full_name[i] == ' ') ++i;
    if (i >= full_name.size()) break;
    const size_t end = std::min(full_name.find(' ', i), full_name.size());
    words[n++] = std::string(full_name.substr(i, end - i));
    i = end;
  }
  return short_name(words[0], words[1], words[2]);
}

std::string join(std::initializer_list<std::string> parts, std::string_view sep) {
  std::string out;
  for (const std::string& p : parts) {
    const std::string t = text::trim(p);
    if (t.empty()) continue;
    if (!out.empty()) out += sep;
    out += t;
  }
  return out;
}

Employer read_employer(const compark& ctx, Tdm& dm, TDateTime LSFD) {
  db::Query q(*dm.ADOConnection);
  q.sql(kQryPasp);
  q.set_date("LSFD", LSFD);
  q.open();
  Employer e;
  if (q.eof()) return e;
  e.head_name = text_field(q, "FIONASH");
  e.head_position = text_field(q, "DOLN");
  e.IND = text_field(q, "IND");
  if (!q.field("KODREG").is_null())
    e.region = host::region_name(ctx, static_cast<int>(q.field("KODREG").as_int())).value_or("");
  e.GOROD = text_field(q, "GOROD");
  e.N = text_field(q, "N");
  e.INN = text_field(q, "INN");
  e.KPP = text_field(q, "KPP");
  e.OKPO = text_field(q, "OKPO");
  e.OKONH = text_field(q, "OKONH");
  e.NASP = text_field(q, "NASP");
  e.DOM = text_field(q, "DOM");
  return e;
}

std::string labelled(const char* label, const std::string& value) {
  return value.empty() ? std::string() : std::string(label) + value;
}

std::string employer_requisites(const Employer& e) {
  return join({e.IND, e.region, e.GOROD, e.N, labelled("ИНН ", e.INN), labelled("КПП ", e.KPP),
               labelled("Код ОКПО ", e.OKPO), labelled("ОКОНХ ", e.OKONH), e.GOROD, e.NASP, e.DOM});
}

std::vector<EmployeeRow> read_employees(Tdm& dm, int kp, TDateTime LSFD) {
  db::Query q(*dm.ADOConnection);
  q.sql(kQrySelect);
  q.set("KP", int64_t{kp});
  q.set_date("LSFD", LSFD);
  q.open();
  std::vector<EmployeeRow> rows;
  rows.reserve(static_cast<size_t>(q.record_count()));
  for (q.first(); !q.eof(); q.next()) {
    EmployeeRow r;
    r.kp = static_cast<int>(q.field("KP").as_int());
    r.unit = text_field(q, "NMOWNER");
    r.address = {text_field(q, "REGN"), text_field(q, "RAI"),    text_field(q, "GOR"),  text_field(q, "NAS"),
                 text_field(q, "ULNAME"), text_field(q, "DOM"), text_field(q, "KORP"), text_field(q, "KV")};
    rows.push_back(std::move(r));
  }
  return rows;
}

Contract read_contract(db::Query& q, int kp, TDateTime DTO, std::optional<TDateTime> fd) {
  q.close();
  q.set("IDKBU", int64_t{kp});
  q.set("IDKBU1", int64_t{kp});
  q.set_date("DTO", DTO);
  if (fd) q.set_date("fd", *fd);
  q.open();
  Contract c;
  if (q.eof()) return c;
  c.CONN = text_field(q, "CONN");
  c.CONDT = date_field(q, "CONDT");
  c.SER = text_field(q, "SER");
  c.NUM = text_field(q, "NUM");
  c.ORG = text_field(q, "ORG");
  c.FDVD = date_field(q, "FDVD");
  c.KREGP = text_field(q, "KREGP");
  c.KRAIP = text_field(q, "KRAIP");
  c.KGORP = text_field(q, "KGORP");
  c.FNAME = text_field(q, "FNAME");
  c.OKL = q.field("OKL").as_float();
  c.STV = q.field("STV").as_float();
  c.DOLN = text_field(q, "DOLN");
  c.DTR = date_field(q, "DTR");
  return c;
}

std::string contract_reference(const Contract& c) {
  if (c.CONN.empty()) return {};
  if (!c.CONDT) return "№ " + c.CONN;
  return "№ " + c.CONN + " от " + date_words(*c.CONDT) + " года";
}

std::string employee_requisites(const Address& a, const Contract& c) {
  std::string t = "Адрес прописки\n" + join({a.REGN, a.RAI, a.GOR, a.NAS, a.ULNAME, a.DOM, a.KORP, a.KV});
  t += "\nПаспорт";
  t += c.SER.empty() ? "   " : " " + c.SER;
  t += " №";
  t += c.NUM.empty() ? "     " : " " + c.NUM;
  if (!c.ORG.empty()) t += ",\n" + c.ORG;
  t += "\nДата выдачи " + (c.FDVD ? text::date_text(*c.FDVD) : std::string());
  t += "\nМесто рождения " + join({c.KREGP, c.KRAIP, c.KGORP});
  t += "\nДата рождения: " + (c.DTR ? text::date_text(*c.DTR) : std::string());
  return t;
}

AgreementSignatory read_signatory(Tdm& dm) {
  db::Query q(*dm.ADOConnection);
  q.sql(kQryConst);
  auto value = [&](const char* id) {
    q.close();
    q.set("IDCONST", std::string(id));
    q.open();
    return q.eof() ? std::string() : text_field(q, "CNST");
  };
  AgreementSignatory s;
  s.position = value("DOPSOGLDOL");
  s.name = value("DOPSOGLFIO");
  return s;
}

std::string person_name(Tdm& dm, int kp) {
  db::Query q(*dm.ADOConnection);
  q.sql(kQryPerson);
  q.set("KP", int64_t{kp});
  q.open();
  return q.eof() ? std::string() : text_field(q, "FNAME");
}

std::string rubles_in_words(double amount) {
  if (!(amount > -0.5 && amount < 999999999.5))
    throw std::out_of_range("Сумма " + text::rounded_text(amount, 2) + " не записывается словами (от 0 до 999 999 999)");
  return text::trim(NumberInWords(static_cast<int32_t>(std::llround(amount)), "рубль", "рубля", "рублей"));
}

bool AgreementBook::Open(TReportWindow& window, const std::string& code) {
  if (!window.OpenReport(book_, code, "Подготовка формы для печати...", TReportWindow::Layout::plain)) return false;
  server_ = book_.GetApplication();
  return server_ != nullptr;
}

void AgreementBook::NewSheet() {
  const int last = server_->SheetCount();
  server_->CopySheet(1, last, true, false);
  server_->SelectSheet(last + 1);
  ++agreements_;
}

void AgreementBook::Text(int row, int col, const std::string& text) {
  if (!text.empty()) server_->SetCell(office::vkString, row, col, office::Variant(text), 0);
}

void AgreementBook::Number(int row, int col, double value) {
  server_->SetCell(office::vkValue, row, col, office::Variant(value), 0);
}

void AgreementBook::Finish(TReportWindow& window) {
  if (!server_) return;
  if (agreements_ == 0) {
    // A book of nothing but the template is no document: close it unsaved.
    server_->CloseBook(0, false, {});
    server_ = nullptr;
    window.c_p->armerr(kArmInformation, "Нет сотрудников для печати доп. соглашений");
    return;
  }
  server_->DeleteSheet(1);
  window.FinishReport(book_);
  server_ = nullptr;
}

}  // namespace hrdoc::agreements
