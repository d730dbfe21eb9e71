#pragma once
// One personnel database for the education, part-time employment and staff list reports, built
// once from a script (every test process copies it).
//
// The report date is 05.12.2026, the period 01.01.2026 .. 05.12.2026. The enterprise 1 "Заря"
// holds 10 "Цех № 1" (with 11 "Участок" below it), 20 "Бухгалтерия" and 30 "Склад" (nobody).
// Workplaces: 1 "Площадка" and 3 "Сезонные работы" of code 05754312, 2 "Филиал" of 11111111.
// Who is who is written beside each employee in staff().

#include <optional>
#include <string>
#include <vector>

#include "reports/statistics/statistics_fixture.h"

namespace hrdoc::test {

inline const TDateTime kPeriodStart = text::encode_date(2026, 1, 1);
constexpr const char* kOkpo = "05754312";

class EducationScript {
 public:
  std::string text;

  EducationScript() {
    add("insert into ZPKPV (PR, K, N) values (1, 99, 'АО \"Заря\"')");
    node(1, 0, "Заря", "Акционерное общество \"Заря\"");
    department(10, 1, "Цех № 1", "Механический цех № 1", {});
    department(11, 10, "Участок", "Участок сборки", {10});
    department(20, 1, "Бухгалтерия", "Бухгалтерия предприятия", {});
    department(30, 1, "Склад", "Склад готовой продукции", {});
    for (auto [k, n] : {std::pair{1, "Высшее"}, {2, "Неполное высшее"}, {3, "Среднее профессиональное"},
                        {4, "Среднее общее"}, {5, "Основное общее"}, {28, "Начальное профессиональное"}})
      add("insert into KDIOBR (KOBR, NOBR) values (" + std::to_string(k) + ", '" + n + "')");
    // Institutions: KWUZ = its kind KTUZ.
    for (auto [k, n] : {std::pair{3, "Уральский университет"}, {5, "Горный институт"}, {9, "Техникум"},
                        {17, "Колледж"}, {20, "Школа № 5"}})
      add("insert into KDIWUZ (KWUZ, NWUZ, KTUZ) values (" + std::to_string(k) + ", '" + n + "', " +
          std::to_string(k) + ")");
    add("insert into KDIKSD (KKSD, NKSD) values (1, 'Технология машиностроения')");
    add("insert into KDIKSD (KKSD, NKSD) values (2, 'Бухгалтерский учет')");
    for (auto [k, n] : {std::pair{1, "Токарь"}, {2, "Бухгалтер"}, {3, "Начальник цеха"}})
      add("insert into ZPKD (D, N) values (" + std::to_string(k) + ", '" + n + "')");
    add("insert into OTZMSTN (MST, N, OKPO) values (1, 'Площадка', '05754312')");
    add("insert into OTZMSTN (MST, N, OKPO) values (2, 'Филиал', '11111111')");
    add("insert into OTZMSTN (MST, N, OKPO) values (3, 'Сезонные работы', '05754312')");
    // Grounds of dismissal, written as clerks write them.
    for (auto [k, n] : {std::pair{1, "в связи с соглашением о сокращении численности"},
                        {2, "по инициативе работника"}, {3, "Истечение срока договора"},
                        {4, "По соглашению сторон"}})
      add("insert into KDOSD (KOSD, KTD, NOSD) values (" + std::to_string(k) + ", 121, '" + n + "')");
    staff();
  }

 private:
  static std::string q(const std::string& s) { return s.empty() ? "NULL" : "'" + s + "'"; }
  static std::string d(std::optional<TDateTime> t) { return t ? "'" + text::date_text(*t) + "'" : "NULL"; }
  static TDateTime on(int y, int m, int day) { return text::encode_date(y, m, day); }
  void add(const std::string& sql) { text += sql + ";\n"; }
  std::string unsd() { return std::to_string(++unsd_); }

  void node(int kp, int owner, const std::string& sname, const std::string& fname, int tn = 0) {
    add("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (" + std::to_string(kp) + ", " +
        std::to_string(owner) + ", " + std::to_string(tn) + ", '" + sname + "', '" + fname + "')");
  }
  void department(int kp, int owner, const std::string& sname, const std::string& fname, std::vector<int> chain) {
    node(kp, owner, sname, fname);
    chain.resize(7, 0);
    std::string ow;
    for (int k : chain) ow += ", " + std::to_string(k);
    add("insert into OTZRUC (OWNER, OW1, OW2, OW3, OW4, OW5, OW6, OW7) values (" + std::to_string(kp) + ow + ")");
    add("insert into OTZRUC2 (KP, PRZ) values (" + std::to_string(kp) + ", 0)");
  }
  void person(int kp, int dept, const std::string& fname, const std::string& pol, std::optional<TDateTime> fdr) {
    node(kp, dept, fname.substr(0, fname.find(' ')), fname, kp + 1000);
    // An empty sex is stored empty, not NULL.
    add("insert into ZPADS1 (KP, POL, FDR) values (" + std::to_string(kp) + ", '" + pol + "', " + d(fdr) + ")");
  }
  struct Record {
    int kp, dept;
    TDateTime dto;
    int ktd = 21;
    int kat = 4;
    double stv = 1;
    int kd = 1;
    int kosd = 0;
    int rz = 4;
  };
  void record(const Record& r) {
    const std::string u = unsd();
    add("insert into KDT2IIIDVG (UNSD, KP, DTO, KTD, OWNER, KD, NMDS, NMDL, OKL, STV, KAT, KTPD, KVR, RZ, KOSD, DTN, "
        "BOOK) values (" +
        u + ", " + std::to_string(r.kp) + ", " + d(r.dto) + ", " + std::to_string(r.ktd) + ", " +
        std::to_string(r.dept) + ", " + std::to_string(r.kd) + ", 'Должность', 'Должность', 30000, " +
        std::to_string(r.stv) + ", " + std::to_string(r.kat) + ", 1, 1, " + std::to_string(r.rz) + ", " +
        (r.kosd ? std::to_string(r.kosd) : "NULL") + ", " + d(r.dto) + ", 1)");
    add("insert into KDSDJS (UNSD, UND, KP, KTD, DTO) values (" + u + ", 1, " + std::to_string(r.kp) + ", " +
        std::to_string(r.ktd) + ", " + d(r.dto) + ")");
  }
  struct Education {
    int kp, kobr, ktzo = 1;
    int kwuz = 0, kksd = 0, kfob = 1;
    std::optional<TDateTime> dtk = std::nullopt;
    std::string ndpl = {};
  };
  void education(const Education& e) {
    auto key = [](int k) { return k ? std::to_string(k) : std::string("NULL"); };
    add("insert into KDT2IOBR (UNSD, KP, KOBR, KWUZ, KKSD, KFOB, KTZO, DTK, NDPL) values (" + unsd() + ", " +
        std::to_string(e.kp) + ", " + std::to_string(e.kobr) + ", " + key(e.kwuz) + ", " + key(e.kksd) + ", " +
        std::to_string(e.kfob) + ", " + std::to_string(e.ktzo) + ", " + d(e.dtk) + ", " + q(e.ndpl) + ")");
  }
  void workplace(int kp, int kod, TDateTime from, std::optional<TDateTime> to = std::nullopt, int vrem = 0) {
    add("insert into KDT2MST (UNSD, KP, KOD, DTN, DTK, VREM) values (" + unsd() + ", " + std::to_string(kp) + ", " +
        std::to_string(kod) + ", " + d(from) + ", " + d(to) + ", " + std::to_string(vrem) + ")");
  }
  void contract(int kp, const std::string& number, TDateTime date, std::optional<TDateTime> psts = std::nullopt) {
    add("insert into KDT2IOB (KP, CONTRACTN, CONTRACTDATE, PSTS) values (" + std::to_string(kp) + ", " + q(number) +
        ", " + d(date) + ", " + d(psts) + ")");
  }

  void staff() {
    // Цех № 1.
    person(101, 10, "Андреев Андрей Андреевич", "М", born_aged(29, kD));  // 29: counted
    record({.kp = 101, .dept = 10, .dto = on(2015, 3, 2), .kat = 2, .stv = 0.5});  // a part-timer
    education({.kp = 101, .kobr = 1, .kwuz = 3, .kksd = 1, .dtk = on(2020, 6, 30), .ndpl = "ВСГ 1"});
    education({.kp = 101, .kobr = 4, .ktzo = 2, .kwuz = 20, .dtk = on(2014, 6, 25)});
    contract(101, "ТД-1", on(2015, 3, 2));
    workplace(101, 1, on(2015, 3, 2), on(2026, 3, 31));  // two periods at the same code
    workplace(101, 1, on(2026, 4, 1));
    person(102, 10, "Борисова Мария Петровна", "Ж", born_aged(30, kD));  // 30: not counted
    record({.kp = 102, .dept = 10, .dto = on(2016, 5, 10), .kat = 1, .kd = 3});
    education({.kp = 102, .kobr = 3, .kwuz = 9, .dtk = on(2012, 6, 30)});
    contract(102, "ТД-2", on(2016, 5, 10));
    workplace(102, 1, on(2016, 5, 10));
    add("insert into KDT2VIIIO (UNSD, KP, DTO, DKO, KVOT) values (" + unsd() + ", 102, '10.05.2026', '12.05.2026', 5)");
    person(103, 10, "Васильев Пётр", "", born_aged(20, kD));  // no sex: a woman in 300, a man in 180
    record({.kp = 103, .dept = 10, .dto = on(2025, 9, 1)});
    education({.kp = 103, .kobr = 2, .kwuz = 5, .kfob = 3});  // studying extramurally at a university
    workplace(103, 1, on(2025, 9, 1));
    person(104, 10, "Григорьева Ольга Ивановна", "Ж", born_aged(22, kD));
    record({.kp = 104, .dept = 10, .dto = on(2026, 2, 2)});  // hired in the period
    education({.kp = 104, .kobr = 3, .kwuz = 17, .kfob = 3});  // studying extramurally at a college
    workplace(104, 1, on(2026, 2, 2));
    add("insert into ZPKPR (UNSD, KP, VID, OT, FD1, FD2) values (" + unsd() + ", 104, 1, 16, '01.11.2026', '31.03.2027')");
    person(105, 10, "Дмитриев Олег Юрьевич", "М", born_aged(14, kD));  // 14: not counted
    record({.kp = 105, .dept = 10, .dto = on(2026, 6, 1)});
    person(106, 10, "Егоров Егор Егорович", "м", born_aged(25, kD));  // no main education record
    record({.kp = 106, .dept = 10, .dto = on(2020, 1, 10)});
    education({.kp = 106, .kobr = 1, .ktzo = 2, .kwuz = 3, .dtk = on(2022, 6, 30)});
    add("insert into ZPKPR (UNSD, KP, VID, OT, FD1, FD2) values (" + unsd() + ", 106, 1, 16, '01.11.2026', '31.03.2027')");
    workplace(106, 1, on(2020, 1, 10));
    person(107, 10, "Жуков Иван Сергеевич", "М", on(1980, 3, 1));  // category 3, level 5
    record({.kp = 107, .dept = 10, .dto = on(2010, 1, 13), .kat = 3});
    education({.kp = 107, .kobr = 5, .kwuz = 20, .dtk = on(1995, 6, 30)});
    person(108, 10, "Зайцев Сергей Павлович", "М", on(1990, 1, 1));  // dismissed before the date
    record({.kp = 108, .dept = 10, .dto = on(2012, 4, 2)});
    record({.kp = 108, .dept = 10, .dto = on(2026, 6, 1), .ktd = 121, .kosd = 1});
    education({.kp = 108, .kobr = 1, .kwuz = 3, .dtk = on(2011, 6, 30)});
    workplace(108, 1, on(2012, 4, 2), on(2026, 6, 1));
    person(109, 10, "Ильин Илья Ильич", "М", on(1975, 1, 1));  // dismissed on the date
    record({.kp = 109, .dept = 10, .dto = on(2010, 2, 1), .kd = 1});
    record({.kp = 109, .dept = 10, .dto = kD, .ktd = 121, .kosd = 2});
    education({.kp = 109, .kobr = 3, .kwuz = 9, .dtk = on(1994, 6, 30)});
    contract(109, "ТД-9", on(2010, 2, 1));
    workplace(109, 1, on(2010, 2, 1), kD);
    person(110, 10, "Козлов Кирилл Петрович", "М", on(1995, 1, 1));  // hired after the date
    record({.kp = 110, .dept = 10, .dto = on(2027, 1, 11)});
    education({.kp = 110, .kobr = 1, .kwuz = 3, .dtk = on(2018, 6, 30)});
    // Участок.
    person(111, 11, "Лебедева Лариса Николаевна", "Ж", born_aged(23, kD));  // seasonal, child-care leave
    record({.kp = 111, .dept = 11, .dto = on(2021, 4, 1)});
    education({.kp = 111, .kobr = 28, .kwuz = 9, .dtk = on(2021, 6, 30)});
    workplace(111, 3, on(2021, 4, 1), std::nullopt, 1);
    add("insert into ZPKPR (UNSD, KP, VID, OT, FD1, FD2) values (" + unsd() + ", 111, 1, 17, '01.01.2026', '31.12.2027')");
    person(112, 11, "Миронов Марк", "М", on(1970, 1, 1));  // dismissed: a ground of no pair
    record({.kp = 112, .dept = 11, .dto = on(2001, 3, 1)});
    record({.kp = 112, .dept = 11, .dto = on(2026, 4, 1), .ktd = 121, .kosd = 3});
    workplace(112, 1, on(2001, 3, 1), on(2026, 4, 1));
    person(113, 11, "Никитин Никита", "М", on(1972, 1, 1));  // dismissed by agreement
    record({.kp = 113, .dept = 11, .dto = on(2003, 3, 1)});
    record({.kp = 113, .dept = 11, .dto = on(2026, 8, 3), .ktd = 121, .kosd = 4});
    workplace(113, 2, on(2003, 3, 1), on(2016, 1, 1));  // the branch first
    workplace(113, 1, on(2016, 1, 2), on(2026, 8, 3));
    // Бухгалтерия.
    person(201, 20, "Морозов Максим Игоревич", "М", on(1985, 5, 5));  // came by transfer, no contract
    record({.kp = 201, .dept = 20, .dto = on(2026, 3, 2), .ktd = 23, .kat = 2, .kd = 2});
    education({.kp = 201, .kobr = 1, .kwuz = 3, .kksd = 2, .dtk = on(2007, 6, 30)});
    workplace(201, 2, on(2026, 3, 2));  // the branch: another code
    person(202, 20, "Орлова Ольга Олеговна", "Ж", on(1988, 8, 8));  // card with PSTS
    record({.kp = 202, .dept = 20, .dto = on(2019, 9, 2), .kat = 2, .kd = 2});
    contract(202, "ТД-202", on(2019, 9, 2), on(2025, 1, 1));
    person(203, 20, "Сидоров", "М", on(1960, 1, 1));  // one word, no education
    record({.kp = 203, .dept = 20, .dto = on(2000, 1, 10), .kd = 1});
    contract(203, "ТД-203", on(2000, 1, 10));
  }

  int unsd_ = 0;
};

inline std::string education_database() {
  static const FixtureScript script("education", EducationScript().text, {"schema.sql", "zpclients.sql"});
  return script.path();
}

class EducationFixture : public StatisticsFixture {
 protected:
  std::string database() const override { return education_database(); }

  // Runs a "USRSEW" list for the department set and list order given.
  int run_list(const char* command, std::vector<int> set, int order) {
    ctx().replace_kpsew(set);
    ctx().list_order = static_cast<uint16_t>(order);
    return run(command, kD, 1);
  }
  // Runs "HRDOC350" for the period with the code typed into its entry.
  int run_350(const std::string& okpo) {
    ui().form_answers.push_back({});  // the parameter dialog
    ui::ScriptedUi::FormAnswer window;
    window.values["eMst"] = okpo;
    ui().form_answers.push_back(window);
    return run("HRDOC350", kD, 0, kPeriodStart, kD);
  }
};

}  // namespace hrdoc::test
