#pragma once
// One personnel database for the military registration reports, built once from a script (every
// test copies it), a context wired to it, and the finished book of a command run through main_dll.
//
// The report date is 05.12.2026; the movement list covers 01.01.2026 .. 30.11.2026. The
// enterprise 1 holds 10 "Цех № 1" (with 11 "Участок" below it), 20 "Бухгалтерия", 30 "Склад"
// (nobody on registration) and 40 "Архив" (excluded from the department lists by PRZ). Who is
// who is written beside each employee below.

#include <string>
#include <vector>

#include "reports/statistics/statistics_fixture.h"
#include "support/fixture_script.h"

namespace hrdoc::test {

inline const TDateTime kD1 = text::encode_date(2026, 1, 1);
inline const TDateTime kD2 = text::encode_date(2026, 11, 30);

class MilitaryScript {
 public:
  std::string text;

  MilitaryScript() {
    add("insert into ZPKPV (PR, K, N) values (1, 99, 'АО \"Заря\"')");
    node(1, 0, 0, "Заря", "Акционерное общество \"Заря\"");
    department(10, 1, "Цех № 1", "Механический цех № 1", {}, 0);
    department(11, 10, "Участок", "Участок сборки", {10}, 0);
    department(20, 1, "Бухгалтерия", "Бухгалтерия предприятия", {}, 0);
    department(30, 1, "Склад", "Склад готовой продукции", {}, 0);
    department(40, 1, "Архив", "Архив предприятия", {}, 1);
    dictionaries();
    reserve();
    movement();
  }

 private:
  static std::string q(const std::string& s) { return s.empty() ? "NULL" : "'" + s + "'"; }
  static std::string n(int v) { return std::to_string(v); }
  void add(const std::string& sql) { text += sql + ";\n"; }

  void node(int kp, int owner, int tn, const std::string& sname, const std::string& fname) {
    add("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (" + n(kp) + ", " + n(owner) + ", " + n(tn) + ", '" +
        sname + "', '" + fname + "')");
  }
  void department(int kp, int owner, const std::string& sname, const std::string& fname, std::vector<int> chain,
                  int prz) {
    node(kp, owner, 0, sname, fname);
    chain.resize(7, 0);
    std::string ow;
    for (int k : chain) ow += ", " + n(k);
    add("insert into OTZRUC (OWNER, OW1, OW2, OW3, OW4, OW5, OW6, OW7) values (" + n(kp) + ow + ")");
    add("insert into OTZRUC2 (KP, PRZ) values (" + n(kp) + ", " + n(prz) + ")");
  }
  void dictionaries() {
    for (const char* sql : {"insert into KDIIRWK values (0, 'Не указан')", "insert into KDIIRWK values (1, 'Ленинский РВК')",
                            "insert into KDIIRWK values (2, 'Советский РВК')", "insert into KDIISWU values (0, 'Нет')",
                            "insert into KDIISWU values (1, 'Офицеры')", "insert into KDIISWU values (2, 'Солдаты')",
                            "insert into KDIIWZV values (1, 'Рядовой')", "insert into KDIIWZV values (2, 'Лейтенант')",
                            "insert into KDIIKWU values (1, 'Первая')", "insert into KDIIGWU values (1, 'А')",
                            "insert into KDIIVWU values (1, 'Общий')", "insert into KDISR values (1, 'Жена')",
                            "insert into KDISR values (2, 'Сын')", "insert into KDISEM values (1, 'Женат')"})
      add(sql);
  }

  // An employee with identity data (VDOC, SER, NUM as given; "" is NULL).
  void person(int kp, int dept, int tn, const std::string& fname, int vdoc = 21, const std::string& ser = "",
              const std::string& num = "") {
    node(kp, dept, tn, fname, fname);
    add("insert into ZPADS1 (KP, VDOC, SER, NUM, ORG, FDVD, FDR) values (" + n(kp) + ", " + n(vdoc) + ", " + q(ser) +
        ", " + q(num) + ", " + (ser.empty() ? "NULL, NULL" : "'ОВД', '2010-02-03'") + ", '1985-04-0" +
        n(kp % 9 + 1) + "')");
  }
  // The military registration row.
  void registration(int kp, int kows, int krwk, int kswu) {
    add("insert into KDT2IIWU (KP, KOWS, WUS, KSWU, KWZV, KRWK, KKWU, KGWU, KVWU, MOB, NSU) values (" + n(kp) + ", " +
        n(kows) + ", '" + n(100 + kp) + "', " + n(kswu) + ", 1, " + n(krwk) + ", 1, 1, 1, NULL, 'А')");
  }
  // A history record (book 1) with its order line; returns its UNSD.
  int record(int kp, int dept, const std::string& dto, int ktd = 21, const std::string& nmds = "Токарь") {
    const int unsd = ++unsd_;
    add("insert into KDSDJZ (UND, KTD, ND, DTV) values (" + n(unsd) + ", " + n(ktd) + ", '" + n(unsd) + "-к', '" + dto +
        "')");
    add("insert into KDSDJS (UNSD, UND, KP, KTD, DTO) values (" + n(unsd) + ", " + n(unsd) + ", " + n(kp) + ", " +
        n(ktd) + ", '" + dto + "')");
    add("insert into KDT2IIIDVG (UNSD, KP, DTO, KTD, OWNER, KD, NMDS, NMDL, OKL, STV, KAT, KTPD, BOOK) values (" +
        n(unsd) + ", " + n(kp) + ", '" + dto + "', " + n(ktd) + ", " + n(dept) + ", 1, '" + nmds + "', '" + nmds +
        "', 30000, 1, 4, 1, 1)");
    return unsd;
  }
  // The staff-list row of a position record: its place in the staff-list order.
  void staff_place(int kp, int dept, const std::string& dto, int unsd, int nn, int ktd = 21) {
    add("insert into KDHTRO (UNSD, KP, OWNER, KD, NN, KTD, KTHT, KTPD, DTO) values (" + n(unsd) + ", " + n(kp) + ", " +
        n(dept) + ", 1, " + n(nn) + ", " + n(ktd) + ", 1, 1, '" + dto + "')");
  }
  void family(int kp, int ksr, const std::string& fio, const std::string& dtr) {
    add("insert into KDT2IFAM (UNSD, KP, FIO, DTR, KSR) values (" + n(++unsd_) + ", " + n(kp) + ", " + q(fio) + ", " +
        q(dtr) + ", " + n(ksr) + ")");
  }

  void reserve() {
    // Цех № 1, with 305 and 306 below: by name 101, 102, 305, 306, 111; by number 111, 102, 101,
    // 305, 306; by staff list 101, 111, 102, 305, 306.
    person(101, 10, 1101, "Андреев Андрей Андреевич", 21, "4501", "123456");
    staff_place(101, 10, "2015-03-02", record(101, 10, "2015-03-02"), 1);
    registration(101, 1, 1, 2);
    add("insert into ZPADRES (KP, KODREG, REGN, KODGOR, GOR, ULNAME, DOM, KORP, KV) values (101, 66, "
        "'Свердловская обл.', 1, 'Екатеринбург', 'ул. Ленина', '1', 'А', '2')");
    add("insert into KDT2IOB (KP, KSEM) values (101, 1)");
    family(101, 2, "Андреев Иван", "");
    family(101, 1, "Андреева Анна", "1990-05-01");
    // Two records on the latest date: the larger UNSD (Цех № 1) counts, not Бухгалтерия.
    person(102, 10, 1050, "Борисов Борис Борисович", 21, "4501123456");
    record(102, 20, "2020-01-10", 21, "Бухгалтер");
    staff_place(102, 10, "2020-01-10", record(102, 10, "2020-01-10", 22, "Мастер"), 3, 22);
    registration(102, 2, 2, 1);
    add("insert into KDT2IADF (KP, T, KODGORF, GORF, ULNAMEF, DOMF) values (102, '123-45-67', 1, 'Берёзовский', "
        "'ул. Мира', '5')");
    person(111, 10, 1000, "Яковлев Яков Яковлевич", 10, "4501123456");
    staff_place(111, 10, "2019-06-01", record(111, 10, "2019-06-01"), 2);
    registration(111, 1, 1, 2);
    person(103, 10, 1200, "Васильев Василий", 21, "6501", "111111");  // state 0: not on registration
    record(103, 10, "2018-01-01");
    registration(103, 0, 1, 2);
    // Участок: a registered address without region and town.
    person(105, 11, 1300, "Дмитриев Дмитрий");
    record(105, 11, "2017-02-01");
    registration(105, 2, 2, 2);
    add("insert into ZPADRES (KP, NAS, ULNAME, DOM) values (105, 'пос. Северный', 'ул. Лесная', '3')");
    family(105, 2, "", "2010-03-04");
    person(104, 11, 1301, "Григорьев Григорий");  // state 3: taken off registration
    record(104, 11, "2016-02-01");
    registration(104, 3, 1, 2);
    // Бухгалтерия: no address at all; and one dismissed this year.
    person(109, 20, 1400, "Жуков Жан");
    record(109, 20, "2014-01-01", 21, "Бухгалтер");
    registration(109, 1, 1, 1);
    person(110, 20, 1401, "Зайцев Захар");
    record(110, 20, "2015-01-01", 21, "Бухгалтер");
    record(110, 20, "2026-06-01", 121, "Бухгалтер");
    registration(110, 1, 1, 2);
    // Склад: one taken off registration, one never registered.
    person(106, 30, 1500, "Егоров Егор");
    record(106, 30, "2012-01-01");
    registration(106, 3, 1, 1);
    person(107, 30, 1501, "Ершов Ефим");
    record(107, 30, "2012-01-01");
    // Архив: on registration, but the department is excluded from the department lists.
    person(108, 40, 1600, "Ильин Илья");
    record(108, 40, "2011-01-01");
    registration(108, 1, 1, 1);
  }

  void movement() {
    person(301, 20, 3001, "Кузнецов Кузьма");  // hired on D1
    record(301, 20, "2026-01-01");
    person(302, 20, 3002, "Лебедев Лев");  // hired on D2
    record(302, 20, "2026-11-30");
    person(303, 20, 3003, "Морозов Мирон");  // hired again after a dismissal before the period
    record(303, 20, "2019-01-01");
    record(303, 20, "2020-05-01", 121);
    record(303, 20, "2026-03-01");
    person(304, 20, 3004, "Никитин Никита");  // hired and dismissed within the period
    record(304, 20, "2026-02-01");
    record(304, 20, "2026-10-01", 121, "Кассир");
    registration(304, 1, 1, 1);
    person(305, 10, 3005, "Орлов Олег");
    staff_place(305, 10, "2026-04-01", record(305, 10, "2026-04-01"), 4);
    registration(305, 1, 1, 1);
    add("insert into ZPADRES (KP, GOR, ULNAME, DOM, KORP, KV) values (305, 'Екатеринбург', 'ул. Мира', '7', 'Б', '9')");
    person(306, 10, 3006, "Павлов Павел");
    staff_place(306, 10, "2026-05-01", record(306, 10, "2026-05-01"), 5);
    registration(306, 1, 2, 2);
    person(307, 11, 3007, "Романов Роман");  // no registration row
    record(307, 11, "2026-06-01");
  }

  int unsd_ = 0;
};

inline std::string military_database() {
  static const FixtureScript script("military", MilitaryScript().text, {"schema.sql", "zpclients.sql"});
  return script.path();
}

class MilitaryFixture : public StatisticsFixture {
 protected:
  std::string database() const override { return military_database(); }

  // Runs the command for department kp, on the report date and in the period of the list.
  int run(const char* command, int kp) { return StatisticsFixture::run(command, kD, kp, kD1, kD2); }
  // Column `column` of the rows from `first` on.
  static Line column(const sheet::Sheet& s, int first, int column) {
    Line out;
    for (int r = first; r <= s.last_row(); ++r) out.push_back(text::trim(s.text(r, column)));
    return out;
  }
};

}  // namespace hrdoc::test
