#pragma once
// One personnel database for the bank card registries, built once from a script (every test
// process copies it), a context wired to it, and the books a command produced.
//
// The enterprise 1 "Заря" holds 10 "Цех № 1", 20 "Склад" and 30 "пенсионеры". The employees
// 101..109 are hired into the workshop in November 2026, each with the gap in the personal
// data written beside them; 110..113 are not candidates for the card-account registry, 201..205
// are hired earlier in 2026 for the card-issue registry's rules.

#include <gtest/gtest.h>
#include <filesystem>
#include <memory>
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

using Line = std::vector<std::string>;
using Lines = std::vector<Line>;

class CardsScript {
 public:
  std::string text;

  CardsScript() {
    add("insert into ZPPASP (P, N) values (1, 'АО \"Заря\"')");
    add("insert into SPCONST (IDCONST, NAME, CNST) values ('KDRTEL', 'Телефон', '3432345678')");
    node(1, 0, 0, "Заря", "АО \"Заря\"");
    node(10, 1, 0, "Цех № 1", "Механический цех № 1");
    node(20, 1, 0, "Склад", "Склад готовой продукции");
    node(30, 1, 0, "пенсионеры", "Пенсионеры");
    for (int d : {10, 20, 30}) add("insert into OTZRUC2 (KP, PRZ) values (" + std::to_string(d) + ", 0)");
    add("insert into ZPKD (D, N) values (1, 'Токарь')");

    const std::string nov = "2026-11-10";
    // Everything present and within the limits.
    person(101, 10, 1501, "Иванов Иван Иванович", nov, 40000);
    // No issuer's code, no issue date.
    person(102, 10, 1502, "Петрова Анна Сергеевна", nov, 13333.33);
    add("update ZPADS1 set KORG = NULL, FDVD = NULL where KP = 102");
    // No registered address at all.
    person(103, 10, 1503, "Сидоров Олег Петрович", nov, 66666.67);
    add("delete from ZPADRES where KP = 103");
    // One word for the name; region 7; a birth place over 30 characters.
    person(104, 10, 1504, "Оганесян", nov, 20000);
    add("update ZPADRES set KODREG = 7 where KP = 104");
    add("update KDT2IOB set KGORP = 'Каменск-Уральский Свердловской области' where KP = 104");
    // A joined passport number with a blank after the series; a house of 6 and an issuer of 81
    // characters.
    person(105, 10, 1505, "Кузнецов Кирилл Андреевич", nov, 30000);
    add("update ZPADS1 set SER = '65 123456', NUM = NULL, NORG = '" + std::string(81, 'X') + "' where KP = 105");
    add("update ZPADRES set DOM = '123456' where KP = 105");
    // A foreign passport, its number in SER.
    person(106, 10, 1506, "Лебедев Лев Львович", nov, 30000);
    add("update ZPADS1 set VDOC = 10, SER = '751234567', NUM = NULL where KP = 106");
    // Another kind of document, series and number joined, the series Cyrillic.
    person(107, 10, 1507, "Морозов Максим Максимович", nov, 30000);
    add("update ZPADS1 set VDOC = 3, SER = 'АБ123456', NUM = NULL where KP = 107");
    // Another kind, six characters only.
    person(108, 10, 1508, "Новиков Никита Николаевич", nov, 30000);
    add("update ZPADS1 set VDOC = 3, SER = '123456', NUM = NULL where KP = 108");
    // No document series at all.
    person(109, 10, 1509, "Орлов Олег Олегович", nov, 30000);
    add("update ZPADS1 set SER = NULL where KP = 109");
    // Not candidates: a PSTS date, hired in October, off the payroll, a part-timer.
    person(110, 10, 1510, "Павлов Павел Павлович", nov, 30000);
    add("update KDT2IOB set PSTS = '2026-10-01' where KP = 110");
    person(111, 10, 1511, "Рыбаков Роман Романович", "2026-10-12", 30000);
    person(112, 10, 1512, "Семенов Семен Семенович", nov, 30000);
    add("update ZPLS set UW = 1 where KP = 112");
    person(113, 10, 1513, "Тарасов Тарас Тарасович", nov, 30000, 2);

    // For the card-issue registry: hired in 2026.
    person(201, 30, 101, "Пенсионов Петр Петрович", "2026-03-02", 30000);
    person(202, 20, 102, "Уволенный Устин Устинович", "2026-03-02", 30000);
    add("insert into ZPLS (FD, KP, DOL, OKL, UW) values ('2026-12-01', 202, 1, 30000, 2)");
    person(203, 20, 103, "Отозванный Олег Олегович", "2026-03-02", 30000);
    hire(203, 20, "2026-03-02", 30000, 1, 3);  // an order of kind 3 the same day
    person(204, 20, 104, "Безокладов Борис Борисович", "2026-03-02", 0);
    person(205, 20, 105, "Шумов Шамиль \"Шамилевич\"", "2026-04-01", 30000);
    add("update ZPADS1 set NORG = 'ОВД \"Центральный\"', ORG = 'ОВД \"Центральный\"' where KP = 205");
    add("update ZPADRES set IND = NULL, REG = 'Свердловская обл.', RAI = 'Сысертский р-н', KODNAS = 1, "
        "NAS = 'пос. Северный', ULNAME = 'ул. Ленина', DOM = NULL, KORP = NULL where KP = 205");
  }

 private:
  void add(const std::string& sql) { text += sql + ";\n"; }
  void node(int kp, int owner, int tn, const std::string& sname, const std::string& fname) {
    add("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (" + std::to_string(kp) + ", " +
        std::to_string(owner) + ", " + std::to_string(tn) + ", '" + sname + "', '" + fname + "')");
  }
  // A hiring-type order line (the order's kind ktd) with its history record.
  void hire(int kp, int dept, const std::string& dto, double okl, int ktpd = 1, int ktd = 21) {
    const std::string unsd = std::to_string(++unsd_), k = std::to_string(kp), o = std::to_string(okl);
    add("insert into KDSDJZ (UND, KTD, ND, DTV) values (" + unsd + ", " + std::to_string(ktd) + ", '1-к', '" + dto + "')");
    add("insert into KDSDJS (UNSD, UND, KP, KTD, DTO) values (" + unsd + ", " + unsd + ", " + k + ", " +
        std::to_string(ktd) + ", '" + dto + "')");
    add("insert into KDT2IIIDVG (UNSD, KP, DTO, KTD, OWNER, KD, NMDS, NMDL, OKL, STV, KTPD) values (" + unsd + ", " +
        k + ", '" + dto + "', " + std::to_string(ktd) + ", " + std::to_string(dept) + ", 1, 'Токарь', 'Токарь', " +
        o + ", 1, " + std::to_string(ktpd) + ")");
  }
  // An employee with a complete passport and addresses, the November payroll account and a hiring.
  void person(int kp, int dept, int tn, const std::string& fname, const std::string& hired, double okl,
              int ktpd = 1) {
    const std::string k = std::to_string(kp), o = std::to_string(okl);
    const std::string sname = fname.substr(0, fname.find(' '));
    node(kp, dept, tn, sname, fname);
    add("insert into ZPADS1 (KP, VDOC, SER, NUM, ORG, KORG, NORG, FDVD, FDR, POL, IND, ULNAME) values (" + k +
        ", 21, '65 10', '123456', 'ОВД', '660-001', 'ОВД Кировского р-на', '2010-02-10', '1990-05-17', 'М', "
        "'620000', '667000000001')");
    add("insert into ZPADRES (KP, IND, KODREG, REG, REGN, KODGOR, GOR, ULNAME, DOM, KORP, KV) values (" + k +
        ", '620000', 66, 'Свердловская обл.', 'Свердловская обл.', 1, 'Екатеринбург', 'ул. Мира', '5', '1', '12')");
    add("insert into KDT2IOB (KP, KGORP) values (" + k + ", 'Екатеринбург')");
    add("insert into ZPLS (FD, KP, DOL, OKL, UW) values ('2026-11-01', " + k + ", 1, " + o + ", 0)");
    hire(kp, dept, hired, okl, ktpd);
  }

  int unsd_ = 1000;
};

inline std::string cards_database() {
  static const FixtureScript script("cards", CardsScript().text);
  return script.path();
}

class CardsFixture : public ReportFixture {
 protected:
  std::string database() const override { return cards_database(); }

  // Runs the command as the host does, the parameter dialog confirmed with these values.
  int run(const char* command, int kp, TDateTime d1, TDateTime d2) {
    ctx().set_dates(text::encode_date(2026, 12, 5), d1, d2);
    ctx().set_department(kp, 0, "");
    return call(command);
  }

  // The n-th document of the run (0-based), opened once.
  sheet::Sheet& document(size_t n) {
    if (ui().documents.size() <= n) throw std::runtime_error("the command produced no document " + std::to_string(n));
    books_.push_back(std::make_unique<sheet::Book>(ui().documents[n]));
    return books_.back()->sheet(1);
  }

  // The texts of cells first..last of a row, blanks trimmed.
  static Line cells(const sheet::Sheet& s, int row, int first, int last) {
    Line out;
    for (int c = first; c <= last; ++c) out.push_back(text::trim(s.text(row, c)));
    return out;
  }

 private:
  std::vector<std::unique_ptr<sheet::Book>> books_;
};

}  // namespace hrdoc::test
