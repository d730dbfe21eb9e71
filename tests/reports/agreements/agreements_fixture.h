#pragma once
// One personnel database for the supplementary agreements, built once from a script (every test
// process copies it), a context wired to it, and the finished book of a command run through
// main_dll.
//
// The report date is 05.12.2026. Department 5 "Цех" has the section 51 below it and 52 below
// that; department 7 "Склад" has nobody who could sign an agreement. Who is who is written beside
// each employee in staff().

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/commands.h"
#include "sheet/book.h"
#include "support/fixture_script.h"
#include "support/report_fixture.h"
#include "support/test_context.h"
#include "support/test_database.h"
#include "support/work_dir.h"
#include "text/date.h"
#include "text/strings.h"
#include "ui/ui.h"

namespace hrdoc::test {

inline const TDateTime kAgreementDate = text::encode_date(2026, 12, 5);

class AgreementsScript {
 public:
  std::string text;

  AgreementsScript() {
    add("insert into ZPPASP (P, N, INN, IND, KODREG, GOROD, NASP, DOM, NASH) values (1, 'ОАО \"Заречтрубопровод\"', "
        "'7201000001', '625000', 66, 'Заречный', 'ул. Трубная', '1', 100)");
    add("insert into ZPPASP1 (P, KPP, OKPO, OKONH, NACHOK) values (1, '720101001', '01234567', '11170', 100)");
    add("insert into SPCONST (IDCONST, NAME, CNST) values ('DOPSOGLFIO', 'Подписант', 'Сергеева Олега Павловича')");
    add("insert into SPCONST (IDCONST, NAME, CNST) values ('DOPSOGLDOL', 'Должность', 'Генерального директора')");
    node(1, 0, 0, "Заречтрубопровод", "ОАО Заречтрубопровод");
    node(5, 1, 0, "Цех", "Цех подготовки нефти");
    node(51, 5, 0, "Участок", "Участок насосных станций");
    node(52, 51, 0, "Бригада", "Бригада ремонта");
    node(7, 1, 0, "Склад", "Склад материалов");
    node(100, 1, 1, "Кадрова Е.Н.", "КАДРОВА ЕЛЕНА НИКОЛАЕВНА");
    staff();
  }

 private:
  static std::string q(const std::string& s) { return s.empty() ? "NULL" : "'" + s + "'"; }
  void add(const std::string& sql) { text += sql + ";\n"; }

  void node(int kp, int owner, int tn, const std::string& sname, const std::string& fname) {
    add("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (" + std::to_string(kp) + ", " +
        std::to_string(owner) + ", " + std::to_string(tn) + ", '" + sname + "', '" + fname + "')");
  }

  struct Person {
    int kp, unit;
    std::string fname, contract;  // contract "" is none
    int uw = 0;
  };
  // An employee at work (or dismissed: uw 1) in the payroll as of 01.12.2026, with a passport
  // and an address.
  void person(const Person& p) {
    const std::string k = std::to_string(p.kp);
    node(p.kp, p.unit, p.kp, "Сотр. " + k, p.fname);
    add("insert into ZPLSDT (FD, KP, DOL, UW) values ('2026-11-01', " + k + ", 1, 0)");
    add("insert into ZPLSDT (FD, KP, DOL, UW) values ('2026-12-01', " + k + ", 1, " + std::to_string(p.uw) + ")");
    add("insert into ZPLS (FD, KP, DOL, OKL, UW) values ('2026-12-01', " + k + ", 1, 1, " + std::to_string(p.uw) + ")");
    add("insert into ZPADS1 (KP, SER, NUM, ORG, FDVD, FDR) values (" + k +
        ", '71 05', '123456', 'ОВД г. Заречного', '2005-04-02', '1980-02-03')");
    add("insert into ZPADRES (KP, REGN, RAI, GOR, ULNAME, DOM, KORP, KV) values (" + k +
        ", 'Тюменская обл.', 'Заречный р-н', 'г. Заречный', 'ул. Мира', '5', '2', '12')");
    add("insert into KDT2IOB (KP, CONTRACTN, CONTRACTDATE, KREGP, KRAIP, KGORP) values (" + k + ", " + q(p.contract) +
        ", '2019-03-01', 'Тюменская обл.', 'Ишимский р-н', 'г. Ишим')");
  }
  struct Record {
    int kp;
    std::string dto;
    int ktd;
    double okl, stv = 1;
    std::string position = "Оператор";
    int rz = 5;
  };
  // A history record made by an order of type ktd.
  void record(const Record& r) {
    const std::string unsd = std::to_string(++unsd_), k = std::to_string(r.kp), ktd = std::to_string(r.ktd);
    add("insert into KDSDJZ (UND, KTD, ND, DTV) values (" + unsd + ", " + ktd + ", '" + unsd + "', '" + r.dto + "')");
    add("insert into KDSDJS (UNSD, UND, KP, KTD, DTO) values (" + unsd + ", " + unsd + ", " + k + ", " + ktd + ", '" +
        r.dto + "')");
    add("insert into KDT2IIIDVG (UNSD, KP, DTO, KTD, OWNER, KD, NMDS, NMDL, OKL, STV, RZ) values (" + unsd + ", " + k +
        ", '" + r.dto + "', " + ktd + ", 5, 1, '" + r.position + "', '" + r.position + "', " + std::to_string(r.okl) +
        ", " + std::to_string(r.stv) + ", " + std::to_string(r.rz) + ")");
  }

  void staff() {
    // Hired, then indexed in November: the salary of the indexation, the position of the hire.
    person({101, 5, "ИВАНОВ ИВАН ПЕТРОВИЧ", "117"});
    record({101, "2019-03-01", 21, 30000, 1, "Машинист насосных установок", 4});
    record({101, "2026-11-01", 26, 41600, 1, "Машинист насосных установок", 4});
    // Two words of a name, no contract number, half a rate, in the section.
    person({102, 51, "ПЕТРОВА  АННА", ""});
    record({102, "2020-06-15", 22, 21, 0.5, "Лаборант химического анализа", 3});
    // A salary of 0 (in the brigade two levels below).
    person({103, 52, "СИДОРОВ СИДОР СИДОРОВИЧ", "200"});
    record({103, "2021-01-11", 21, 0});
    // A rate of 0.
    person({104, 5, "КОЗЛОВ КИРИЛЛ КИРИЛЛОВИЧ", "201"});
    record({104, "2021-02-01", 21, 35000, 0});
    // Only a contract change (51): no record of the order types.
    person({105, 5, "ЛЕБЕДЕВ ЛЕВ ЛЬВОВИЧ", "202"});
    record({105, "2022-03-01", 51, 38000});
    // Dismissed in the December payroll.
    person({106, 5, "МОРОЗОВ МАКСИМ МАКСИМОВИЧ", "203", 1});
    record({106, "2018-01-09", 21, 33000});
    // Only an indexation (26): a salary agreement, but no transfer.
    person({107, 5, "НИКОЛАЕВА НИНА НИКОЛАЕВНА", "204"});
    record({107, "2026-11-01", 26, 2});
    // A transfer after the report date is not yet in force.
    record({101, "2026-12-20", 22, 99000, 1, "Начальник смены", 9});
    // Department 7: nobody with a salary.
    person({701, 7, "ОРЛОВ ОЛЕГ ОЛЕГОВИЧ", "300"});
    record({701, "2023-05-05", 21, 0});
  }

  int unsd_ = 0;
};

inline std::string agreements_database() {
  static const FixtureScript script("agreements", AgreementsScript().text, {"schema.sql", "zpclients.sql"});
  return script.path();
}

class AgreementsFixture : public ReportFixture {
 protected:
  using Values = std::map<std::string, std::string>;

  void SetUp() override {
    ReportFixture::SetUp();
    ctx().NACHOK = 100;
  }
  std::string database() const override { return agreements_database(); }

  // Runs the command as the host does: the parameter dialog confirmed for department kp and
  // date d, then the window filled with each of `windows` in turn (a value set by a user, an
  // optional button), the last one followed by nothing (the window's unattended button).
  int run(const char* command, int kp, std::vector<ui::ScriptedUi::FormAnswer> windows,
          TDateTime d = kAgreementDate) {
    ctx().set_dates(d, d, d);
    ctx().set_department(kp, 0, "");
    ui().form_answers.push_back({{{"dept", std::to_string(kp)}}, false, {}});
    for (auto& w : windows) ui().form_answers.push_back(std::move(w));
    return call(command);
  }

  // The book the last command produced.
  sheet::Book& result() { return result_book(); }

  // The texts of the message boxes shown.
  std::vector<std::string> messages() {
    std::vector<std::string> out;
    for (const auto& b : ui().boxes) out.push_back(b.text);
    return out;
  }
};

}  // namespace hrdoc::test
