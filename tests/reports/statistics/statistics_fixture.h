#pragma once
// One personnel database for the sex, age and dismissal statistics, built once from a script
// (every test process copies it), a context wired to it, and the finished book of a command run
// through main_dll.
//
// The report date is 05.12.2026. The enterprise 1 holds the departments 10 "Цех № 1" (with 11
// "Участок" below it), 20 "Бухгалтерия", 30 "Склад" (nobody) and 40 "Гараж" (only dismissed
// employees). Who is who is written beside each employee in staff().

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/commands.h"
#include "sheet/book.h"
#include "support/sheet_rows.h"
#include "support/fixture_script.h"
#include "support/report_fixture.h"
#include "support/test_context.h"
#include "support/test_database.h"
#include "support/work_dir.h"
#include "text/date.h"
#include "text/strings.h"
#include "ui/ui.h"

namespace hrdoc::test {

using Line = std::vector<std::string>;
using Lines = std::vector<Line>;

inline const TDateTime kD = text::encode_date(2026, 12, 5);

// Birth dates that make an age of exactly n whole years at a date by the 365.25-day rule, and
// the day after it (one day short of n).
inline TDateTime born_aged(int n, TDateTime at) { return at - std::ceil(n * 365.25); }
inline TDateTime born_almost(int n, TDateTime at) { return born_aged(n, at) + 1; }

class StatisticsScript {
 public:
  std::string text;

  StatisticsScript() {
    add("insert into ZPKPV (PR, K, N) values (1, 99, 'АО \"Заря\"')");
    node(1, 0, 0, "Заря", "Акционерное общество \"Заря\"");
    department(10, 1, "Цех № 1", "Механический цех № 1", {});
    department(11, 10, "Участок", "Участок сборки", {10});
    department(20, 1, "Бухгалтерия", "Бухгалтерия предприятия", {});
    department(30, 1, "Склад", "Склад готовой продукции", {});
    department(40, 1, "Гараж", "Автотранспортный участок", {});
    // Grounds of dismissal: PUT 1 discipline, 2 own wish, 3 agreement, then another and none.
    struct Ground {
      const char *kosd, *name, *article, *put;
    };
    for (const Ground& g : {Ground{"1", "Прогул", "п. 6 ч. 1 ст. 81 ТК РФ", "1"},
                            Ground{"2", "По собственному желанию", "п. 3 ч. 1 ст. 77 ТК РФ", "2"},
                            Ground{"3", "По соглашению сторон", "п. 1 ч. 1 ст. 77 ТК РФ", "3"},
                            Ground{"4", "Истечение срока", "п. 2 ч. 1 ст. 77 ТК РФ", "4"},
                            Ground{"5", "Прочее", "", "NULL"}})
      add(std::string("insert into KDOSD (KOSD, KTD, NOSD, ROSD, PUT) values (") + g.kosd + ", 121, '" + g.name +
          "', " + q(g.article) + ", " + g.put + ")");
    staff();
    dismissed();
  }

 private:
  static std::string q(const std::string& s) { return s.empty() ? "NULL" : "'" + s + "'"; }
  static std::string d(std::optional<TDateTime> t) { return t ? "'" + text::date_text(*t) + "'" : "NULL"; }
  static TDateTime on(int y, int m, int day) { return text::encode_date(y, m, day); }
  void add(const std::string& sql) { text += sql + ";\n"; }

  void node(int kp, int owner, int tn, const std::string& sname, const std::string& fname) {
    add("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (" + std::to_string(kp) + ", " +
        std::to_string(owner) + ", " + std::to_string(tn) + ", '" + sname + "', '" + fname + "')");
  }
  // A department with its ancestors below the enterprise, top level first.
  void department(int kp, int owner, const std::string& sname, const std::string& fname, std::vector<int> chain) {
    node(kp, owner, 0, sname, fname);
    chain.resize(7, 0);
    std::string ow;
    for (int k : chain) ow += ", " + std::to_string(k);
    add("insert into OTZRUC (OWNER, OW1, OW2, OW3, OW4, OW5, OW6, OW7) values (" + std::to_string(kp) + ow + ")");
    add("insert into OTZRUC2 (KP, PRZ) values (" + std::to_string(kp) + ", 0)");
  }

  struct Person {
    int kp, dept;
    std::string fname, pol;  // pol "" is NULL
    std::optional<TDateTime> fdr;
  };
  void person(const Person& p) {
    node(p.kp, p.dept, p.kp + 1000, text::trim(p.fname), p.fname);
    add("insert into ZPADS1 (KP, POL, FDR) values (" + std::to_string(p.kp) + ", " + q(p.pol) + ", " + d(p.fdr) + ")");
  }
  struct Record {
    int kp, dept;
    TDateTime dto;
    int ktd = 21;
    std::string nmds = "Токарь";
    double okl = 30000;
    int ktpd = 1;
    int kosd = 0;
  };
  // A history record with its order line.
  void record(const Record& r) {
    const std::string unsd = std::to_string(++unsd_);
    add("insert into KDT2IIIDVG (UNSD, KP, DTO, KTD, OWNER, KD, NMDS, NMDL, OKL, STV, KAT, KTPD, KOSD, BOOK) values (" +
        unsd + ", " + std::to_string(r.kp) + ", " + d(r.dto) + ", " + std::to_string(r.ktd) + ", " +
        std::to_string(r.dept) + ", 1, '" + r.nmds + "', '" + r.nmds + "', " + std::to_string(r.okl) + ", 1, 4, " +
        std::to_string(r.ktpd) + ", " + (r.kosd ? std::to_string(r.kosd) : "NULL") + ", 1)");
    add("insert into KDSDJS (UNSD, UND, KP, KTD, DTO) values (" + unsd + ", 1, " + std::to_string(r.kp) + ", " +
        std::to_string(r.ktd) + ", " + d(r.dto) + ")");
  }
  void education(int kp, int kobr, std::optional<TDateTime> finished) {
    add("insert into KDT2IOBR (UNSD, KP, KOBR, DTK) values (" + std::to_string(++unsd_) + ", " + std::to_string(kp) +
        ", " + std::to_string(kobr) + ", " + d(finished) + ")");
  }
  // Service of kind 16 counted from a date on.
  void service(int kp, TDateTime from) {
    add("insert into KDT2ITK (UNSD, KP, BOOK, DTO, TSTG16, KF16) values (" + std::to_string(++unsd_) + ", " +
        std::to_string(kp) + ", 1, " + d(from) + ", 1, 1)");
  }

  void staff() {
    // Цех № 1.
    person({101, 10, "Андреев Андрей Андреевич", "М", born_aged(30, kD)});  // 30: the second age group
    record({101, 10, on(2015, 3, 2)});
    education(101, 1, on(2010, 6, 30));
    person({102, 10, "Борисова Мария Петровна", "Ж", born_almost(30, kD)});  // 29 by the rule
    record({102, 10, on(2016, 5, 10)});
    education(102, 3, on(2015, 6, 30));
    person({103, 10, "Васильев Пётр Олегович", "М", born_aged(17, kD)});  // 17: in no age group
    record({103, 10, on(2026, 9, 1)});
    person({104, 10, "Григорьева Ольга Ивановна", "ж", on(1980, 5, 10)});  // lower-case "ж"
    record({104, 10, on(2005, 2, 1)});
    education(104, 2, on(2001, 6, 30));  // the latest finished: "other"
    education(104, 1, std::nullopt);      // still studying
    person({105, 10, "Дмитриев Олег Юрьевич", "", std::nullopt});  // no sex, no birth date
    record({105, 10, on(2010, 1, 11)});
    education(105, 4, on(2000, 6, 30));
    person({106, 10, "Егорова Елена Викторовна", "Ж", on(1965, 1, 1)});  // external part-timer
    record({.kp = 106, .dept = 10, .dto = on(2019, 1, 9), .ktpd = 2});
    education(106, 1, on(1987, 6, 30));
    person({107, 10, "Жуков Иван Сергеевич", "М", on(1970, 3, 1)});  // salary 0.05
    record({.kp = 107, .dept = 10, .dto = on(2020, 1, 13), .okl = 0.05});
    education(107, 1, on(1992, 6, 30));
    person({108, 10, "Зайцев Сергей Павлович", "М", on(1990, 1, 1)});  // dismissed on the report date
    record({108, 10, on(2012, 4, 2)});
    record({.kp = 108, .dept = 10, .dto = kD, .ktd = 121, .kosd = 1});
    education(108, 1, on(2011, 6, 30));
    service(108, on(2012, 4, 2));
    add("update ZPADS1 set SER = '6510', NUM = '654321', ORG = 'УФМС', FDVD = '10.02.2010' where KP = 108");
    add("insert into ZPADRES (KP, IND, GOR, ULNAME, DOM, KORP, KV) values (108, '620000', 'Екатеринбург', "
        "'ул. Ленина', '1', 'А', '2')");
    // Участок.
    person({111, 11, "Ильин Илья Ильич", "М", on(1959, 6, 1)});
    record({111, 11, on(1990, 8, 1)});
    education(111, 28, on(1978, 6, 30));
    person({112, 11, "Кузнецова Ксения Андреевна", "Ж", born_aged(18, kD)});
    record({112, 11, on(2026, 7, 1)});
    education(112, 1, on(2026, 6, 30));
    // Бухгалтерия.
    person({201, 20, "Лебедева Лариса Николаевна", "Ж", on(1975, 12, 31)});  // 50 by date, 51 by year
    record({201, 20, on(2000, 3, 1)});
    education(201, 1, on(1998, 6, 30));
    person({202, 20, "Морозов Максим Игоревич", "М", on(2001, 12, 31)});  // 24 by date, 25 by year
    record({202, 20, on(2024, 9, 2)});
    education(202, 3, on(2021, 6, 30));
  }

  void dismissed() {
    const TDateTime d401 = on(2026, 3, 10), d402 = on(2026, 6, 15), d404 = on(2026, 9, 1);
    // Aged 30, exactly one year of service, on his own wish; the position with a leading blank.
    person({401, 40, "  Николаев Николай Николаевич  ", "М", born_aged(30, d401)});
    record({401, 40, on(2025, 3, 10), 21, "Слесарь"});
    record({401, 40, d401, 121, " Слесарь", 30000, 1, 2});
    service(401, on(2025, 3, 10));
    // Aged 50, exactly ten years of service, by agreement.
    person({402, 40, "Петров  Пётр", "М", born_aged(50, d402)});
    record({402, 40, on(2016, 6, 15), 21, "Водитель погрузчика"});
    record({402, 40, d402, 121, "Водитель", 30000, 1, 3});
    service(402, on(2016, 6, 15));
    // No birth date, no service, no earlier history; a ground without a kind; trailing blanks.
    person({403, 40, "Сидоров", "М", std::nullopt});
    record({403, 40, on(2026, 7, 1), 121, "Водитель  ", 30000, 1, 5});
    // Aged 51, six years of service, another ground; an address without a city.
    person({404, 40, "Фёдоров Фёдор Фёдорович", "М", on(1975, 1, 20)});
    record({404, 40, on(2020, 9, 1), 21, "Слесарь-ремонтник"});
    record({404, 40, on(2023, 1, 10), 51, "Слесарь 4 разряда"});
    record({404, 40, d404, 121, "Слесарь", 30000, 1, 4});
    service(404, on(2020, 9, 1));
    add("update ZPADS1 set SER = '6505', NUM = '123456', ORG = 'ОВД г. Берёзовский', FDVD = '01.02.2020' where KP = 404");
    add("insert into ZPADRES (KP, IND, REGN, NAS, ULNAME, DOM, KV) values (404, '624000', 'Свердловская обл.', "
        "'пос. Северный', 'ул. Мира', '5', '12')");
    // Dismissed the year before.
    person({405, 40, "Яковлев Яков Яковлевич", "М", on(1980, 1, 1)});
    record({405, 40, on(2020, 2, 3), 21, "Грузчик"});
    record({405, 40, on(2025, 5, 20), 121, "Грузчик", 30000, 1, 2});
    service(405, on(2020, 2, 3));
  }

  int unsd_ = 0;
};

// The fixture database's script: the schema, the per-user table and the rows above.
inline std::string statistics_database() {
  static const FixtureScript script("statistics", StatisticsScript().text, {"schema.sql", "zpclients.sql"});
  return script.path();
}

class StatisticsFixture : public ReportFixture {
 protected:
  std::string database() const override { return statistics_database(); }

  // Runs the command as the host does, the parameter dialog confirmed with these values.
  int run(const char* command, TDateTime d, int kp, TDateTime d1 = kD, TDateTime d2 = kD) {
    ctx().set_dates(d, d1, d2);
    const auto department = data_module().FindDepartment(kp);
    ctx().set_department(kp, 0, department ? department->sname : std::string());
    return call(command);
  }

  // The first sheet of the document the last command produced.
  sheet::Sheet& result() { return result_book().sheet(1); }

  // The texts of the rows from `first` to the end, blanks trimmed (a cleared field holds one).
  static Lines lines(const sheet::Sheet& s, int first, int columns) {
    Lines out;
    for (int r = first; r <= s.last_row(); ++r) {
      Line line;
      for (int c = 1; c <= columns; ++c) line.push_back(text::trim(s.text(r, c)));
      out.push_back(line);
    }
    return out;
  }
};

}  // namespace hrdoc::test
