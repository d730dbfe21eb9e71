#pragma once
// One database of qualification-improvement courses for the reports "HRDOC190" .. "HRDOC240",
// built once from a script (every test process copies it), and the runs of those commands.
//
// The enterprise 1 holds 10 "Цех № 1" (with 11 "Участок" and 12 "Бригада" below it) and 20
// "Бухгалтерия". The period is 01.01.2026 - 05.12.2026, the report date 05.12.2026. Who has which
// course is written beside each in QualificationScript.

#include <string>
#include <vector>

#include "reports/statistics/statistics_fixture.h"

namespace hrdoc::test {

inline const TDateTime kD1 = text::encode_date(2026, 1, 1);

class QualificationScript {
 public:
  std::string text;

  QualificationScript() {
    add("insert into ZPKPV (PR, K, N) values (1, 99, 'АО \"Заря\"')");
    node(1, 0, 0, "Заря", "Акционерное общество \"Заря\"");
    department(10, 1, "Цех № 1", {});
    department(11, 10, "Участок", {10});
    department(12, 11, "Бригада", {10, 11});
    department(20, 1, "Бухгалтерия", {});
    for (const char* kat : {"1, 'Руководители'", "2, 'Специалисты'", "3, 'Служащие'", "4, 'Рабочие'"})
      add(std::string("insert into ZPKAT (K, N) values (") + kat + ")");
    for (const char* kind : {"1, 'Учебный центр'", "2, 'Сторонняя организация'", "3, 'Дистанционное обучение'"})
      add(std::string("insert into KDVUPKV (KUPKV, NUPKV) values (") + kind + ")");
    for (const char* type : {"1, 'Повышение квалификации'", "2, 'Семинар'", "3, 'Курсы целевого назначения'",
                             "4, 'Целевое обучение'", "5, 'Профессиональная переподготовка'",
                             "6, 'Повышение квалификации: семинар'"})
      add(std::string("insert into KDVVPK (KVPK, NVPK) values (") + type + ")");

    // Цех № 1. Three courses in the period, their dates on its bounds; one of 0 days, one before.
    person(101, 10, 1101, "Андреев Андрей Андреевич");
    staffing(record({101, 10, "02.03.2015", 21, 4, "5", "Токарь"}), 101, 10, 1);
    add("insert into ZPSTAG (KP, FD3) values (101, '01.01.2014')");
    course({101, "01.12.2026", "05.12.2026", 2, "NULL", 3, 4, 3, "Стропальщик", "У-3"});
    course({101, "01.03.2026", "10.03.2026", 3, "1000", 2, 2, 2, "Электробезопасность", "У-2"});
    course({101, "01.01.2026", "01.01.2026", 5, "1234.56789", 1, 1, 2, "Станки с ЧПУ", "У-1"});
    course({101, "01.06.2026", "01.06.2026", 0, "700", 1, 1, 1, "Вводный курс", "У-4"});
    course({101, "20.12.2025", "31.12.2025", 4, "900", 1, 1, 2, "Прошлый год", "У-0"});
    person(102, 10, 1005, "Борисова Мария Петровна");
    staffing(record({102, 10, "10.05.2016", 21, 2, "NULL", "Инженер"}), 102, 10, 2);
    course({102, "01.04.2026", "05.04.2026", 2, "500", 2, 1, 2, "Охрана труда", "С-1"});
    // Came by transfer: no hire record, the start of service from ZPSTAG. A course begun before
    // the period, one of a type no column takes.
    person(103, 10, 1003, "Васильев Пётр Олегович");
    staffing(record({103, 10, "01.02.2020", 22, 4, "3", "Слесарь"}), 103, 10, 3);
    add("insert into ZPSTAG (KP, FD3) values (103, '14.05.2018')");
    course({103, "15.12.2025", "15.01.2026", 1, "600", 1, 2, 1, "Пожарный минимум", "С-3"});
    course({103, "02.02.2026", "05.02.2026", 3, "3000", 1, 6, 2, "Бережливое производство", "П-7"});
    course({103, "11.05.2026", "20.05.2026", 5, "4000", 3, 4, 3, "Сварка", "Ц-2"});
    course({103, "01.06.2026", "10.06.2026", 10, "5000", 3, 5, 3, "Электробезопасность", "П-9"});
    course({103, "01.09.2026", "03.09.2026", 1, "800", 2, 2, 4, "Электробезопасность", "С-4"});
    // Dismissed in the period.
    person(104, 10, 1004, "Григорьев Глеб Юрьевич");
    record({104, 10, "11.01.2010", 21, 4, "4", "Слесарь"});
    record({104, 10, "31.08.2026", 121, 4, "4", "Слесарь"});
    course({104, "02.03.2026", "06.03.2026", 4, "2500", 1, 1, 2, "Станки с ЧПУ", "У-5"});
    person(121, 12, 1201, "Ильин Илья Ильич");
    record({121, 12, "01.08.1990", 21, 4, "6", "Сварщик"});
    course({121, "01.07.2026", "01.07.2026", 4, "2000", 3, 3, 3, "Сварка", "Б-1"});
    course({121, "28.09.2026", "01.10.2026", 4, "2000", 3, 3, 3, "Сварка", "Б-2"});

    // Бухгалтерия. Морозов becomes a worker after the report date.
    person(201, 20, 2001, "Лебедева Лариса Николаевна");
    staffing(record({201, 20, "01.03.2000", 21, 1, "NULL", "Главный бухгалтер"}), 201, 20, 2);
    course({201, "09.02.2026", "10.02.2026", 3, "15000", 2, 1, 2, "Налоги", "Б-3"});
    person(202, 20, 2002, "Морозов Максим Игоревич");
    staffing(record({202, 20, "02.09.2024", 21, 2, "NULL", "Бухгалтер"}), 202, 20, 1);
    record({202, 20, "10.01.2027", 51, 4, "2", "Кладовщик"});
    course({202, "02.03.2026", "03.03.2026", 2, "8000", 2, 1, 2, "Электробезопасность", "Б-4"});
    person(203, 20, 2003, "Никитина Нина Олеговна");
    record({203, 20, "02.02.2026", 21, 3, "NULL", "Кассир"});
  }

 private:
  void add(const std::string& sql) { text += sql + ";\n"; }
  void node(int kp, int owner, int tn, const std::string& sname, const std::string& fname) {
    add("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (" + std::to_string(kp) + ", " +
        std::to_string(owner) + ", " + std::to_string(tn) + ", '" + sname + "', '" + fname + "')");
  }
  void department(int kp, int owner, const std::string& sname, std::vector<int> chain) {
    node(kp, owner, 0, sname, sname);
    chain.resize(7, 0);
    std::string ow;
    for (int k : chain) ow += ", " + std::to_string(k);
    add("insert into OTZRUC (OWNER, OW1, OW2, OW3, OW4, OW5, OW6, OW7) values (" + std::to_string(kp) + ow + ")");
  }
  void person(int kp, int dept, int tn, const std::string& fname) { node(kp, dept, tn, fname, fname); }

  struct Record {
    int kp, dept;
    const char* dto;
    int ktd, kat;
    const char* rz;
    std::string position;
  };
  // A history record; its UNSD.
  int record(const Record& r) {
    const int unsd = ++unsd_, kd = position_code(r.position);
    add("insert into KDT2IIIDVG (UNSD, KP, DTO, KTD, OWNER, KD, NMDS, NMDL, OKL, STV, KAT, RZ, KTPD, BOOK) values (" +
        std::to_string(unsd) + ", " + std::to_string(r.kp) + ", '" + r.dto + "', " + std::to_string(r.ktd) + ", " +
        std::to_string(r.dept) + ", " + std::to_string(kd) + ", '" + r.position + "', '" + r.position +
        "', 30000, 1, " + std::to_string(r.kat) + ", " + r.rz + ", 1, 1)");
    return unsd;
  }
  // The staffing line of a record: line number nn of the department.
  void staffing(int unsd, int kp, int dept, int nn) {
    add("insert into KDHTRO (UNSD, KP, OWNER, KD, NN, KTD, KTHT, KTPD, DTO) select UNSD, KP, OWNER, KD, " +
        std::to_string(nn) + ", KTD, 0, 1, DTO from KDT2IIIDVG where UNSD = " + std::to_string(unsd) + " and KP = " +
        std::to_string(kp) + " and OWNER = " + std::to_string(dept));
  }
  int position_code(const std::string& name) {
    for (size_t i = 0; i < positions_.size(); ++i)
      if (positions_[i] == name) return static_cast<int>(i) + 1;
    positions_.push_back(name);
    add("insert into ZPKD (D, N) values (" + std::to_string(positions_.size()) + ", '" + name + "')");
    return static_cast<int>(positions_.size());
  }

  struct Course {
    int kp;
    const char *dto, *dws;
    int days;
    const char* summ;
    int kind, type, form;
    const char *topic, *nos;
  };
  void course(const Course& c) {
    add("insert into KDT2VPK (UNSD, KP, DTO, DWS, DAYS, SUMM, KUPKV, KVPK, KTMK, NTMK, NOS) values (" +
        std::to_string(++unsd_) + ", " + std::to_string(c.kp) + ", '" + c.dto + "', '" + c.dws + "', " +
        std::to_string(c.days) + ", " + c.summ + ", " + std::to_string(c.kind) + ", " + std::to_string(c.type) +
        ", " + std::to_string(c.form) + ", '" + c.topic + "', '" + c.nos + "')");
  }

  int unsd_ = 0;
  std::vector<std::string> positions_;
};

inline std::string qualification_database() {
  static const FixtureScript script("qualification", QualificationScript().text);
  return script.path();
}

class QualificationFixture : public StatisticsFixture {
 protected:
  std::string database() const override { return qualification_database(); }

  // Runs the command on the report date kD with a department, a department set and a list order.
  int run(const char* command, int kp, std::vector<int> set = {}, int order = 0, TDateTime d1 = kD1,
          TDateTime d2 = kD) {
    ctx().replace_kpsew(set);
    ctx().list_order = static_cast<uint16_t>(order);
    return StatisticsFixture::run(command, kD, kp, d1, d2);
  }
  // The texts of a column from the row `first` on.
  static std::vector<std::string> column(const sheet::Sheet& s, int col, int first) {
    std::vector<std::string> out;
    for (const Line& line : lines(s, first, col)) out.push_back(line.back());
    return out;
  }
};

}  // namespace hrdoc::test
