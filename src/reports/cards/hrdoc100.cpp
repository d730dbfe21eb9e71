// "HRDOC100" and "HRDOC101": the registry of the employees for whom the bank is to open salary
// card accounts. Every value is checked against the bank's rules as it is written; a violation
// turns its cell red and becomes a line of the export log, a second book.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/database.h"
#include "host/compark.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "office/srvimp.h"
#include "reports/cards/person_name.h"
#include "text/date.h"
#include "text/strings.h"
#include "ui/ui.h"

namespace hrdoc {
namespace {

using office::PutValue;
using office::TServerImp;

constexpr const char* kQrySelect = R"(select kpn.KP,kpn.SNAME as FIO,ob.PSTS,dvg.UNSD,kpn1.SNAME as OWNAME FROM otzkpn kpn left join otzkpn kpn1 on kpn1.KP=kpn.OWNER left join otzkpn kpn2 on kpn2.KP=kpn1.OWNER left join otzkpn kpn3 on kpn3.KP=kpn2.OWNER left join  KDT2IIIDVG dvg on dvg.KP=kpn.KP and dvg.unsd=    (select max(dvg1.UNSD)    from KDT2IIIDVG dvg1    left join KDSDJS js on js.UNSD=dvg.UNSD    left join KDSDJZ jz on jz.UND=js.UND    where dvg1.KP=dvg.KP and dvg1.DTO>=:DT1 and dvg1.DTO<=:DT2 and jz.KTD in (21,22,23)) left join  KDT2IOB ob on ob.kp=kpn.kp left join  ZPADRES t2add on t2add.kp=kpn.kp left join  ZPLS ls on ls.kp=kpn.kp and ls.FD=:FD where kpn.TN>0 and (0=:OW or :OW1 in (kpn.OWNER,kpn1.OWNER,kpn2.OWNER,kpn3.OWNER)) and ls.UW=0 and ls.KP is not NULL and ls.OKL>0 and dvg.KTPD=1 and (ob.KP is not NULL and ob.PSTS is NULL) order by kpn.SNAME)";
constexpr const char* kQryCard = R"(select NS4 from ZPMB where KP=:KP and PRIZ=4)";
constexpr const char* kQryTel = R"(select CNST from SPCONST where IDCONST=:CNST)";
constexpr const char* kQryExlSp27 = R"(select kpn.KP,kpn.FNAME, ads1.POL, ads1.FDR, ads1.SER, ads1.NUM,ads1.norg as ORG, ads1.KORG, ads1.FDVD, ads1.IND,ads1.VDOC, adr.ST as stpN, adr.REG as regN, adr.KODREG as regK, adr.RAI as raiN, adr.NAS as nasN, adr.GOR as gorN, adr.ULNAME as ulN, adr.DOM, adr.KORP, adr.KV, adr.KODST as kst, adr.KODREG as kreg, adr.KODRAI as krai, adr.KODNAS as knas,adr.KODGOR as kgor, kpn.tn, kd.N as NML, ob.kregp, ob.kraip, ob.kgorp,ls.okl FROM otzkpn kpn left join  ZPLS ls on ls.KP=kpn.kp and ls.FD=:FD left join  ZPKD kd on kd.D=ls.DOL left join  KDT2IOB ob on ob.kp=kpn.kp left join  ZPADS1 ads1 on ads1.kp=kpn.kp left join  ZPADRES adr on adr.KP=kpn.kp where kpn.KP=:KP)";

constexpr int kFirstLine = 8;
constexpr const char* kLastColumn = "AR";
constexpr int32_t kRed = 0x0000FF;  // 0x00BBGGRR
constexpr int32_t kCentred = -4108;
constexpr int kColB = 2, kColC = 3, kColD = 4, kColE = 5, kColF = 6, kColAD = 30;

const char* const kRequired = "Нет обязательного значения";

// How a value is checked besides being required.
enum class Rule { none, longest, date, exact };
struct Check {
  int column;
  const char* caption;  // in the log
  bool required;
  Rule rule;
  int limit;
};
constexpr Check kG{7, "Вид документа", true, Rule::longest, 3};
constexpr Check kH{8, "Серия", true, Rule::longest, 14};
constexpr Check kI{9, "Номер", true, Rule::longest, 13};
constexpr Check kJ{10, "Дата выдачи", true, Rule::date, 0};
constexpr Check kK{11, "Кем выдан документ", true, Rule::longest, 80};
constexpr Check kL{12, "Код подразделения", true, Rule::longest, 7};
constexpr Check kM{13, "Населенный пункт", true, Rule::longest, 30};
constexpr Check kN{14, "Регион", true, Rule::longest, 3};
constexpr Check kO{15, "Район", false, Rule::longest, 30};
constexpr Check kP{16, "Улица", true, Rule::longest, 45};
constexpr Check kQ{17, "Дом", true, Rule::longest, 5};
constexpr Check kR{18, "Корпус", false, Rule::longest, 3};
constexpr Check kS{19, "Квартира", false, Rule::longest, 5};
constexpr Check kT{20, "Почтовый индекс", false, Rule::longest, 6};
constexpr Check kU{21, "Дата рождения", true, Rule::date, 0};
constexpr Check kV{22, "Место рождения", true, Rule::longest, 30};
constexpr Check kW{23, "", false, Rule::none, 0};
constexpr Check kX{24, "", false, Rule::none, 0};
constexpr Check kY{25, "Номер телефона", true, Rule::exact, 10};

// Whether a text reads as a date ДД.ММ.ГГГГ.
bool is_date_text(const std::string& v) {
  if (v.size() != 10 || v[2] != '.' || v[5] != '.') return false;
  for (size_t i : {0, 1, 3, 4, 6, 7, 8, 9})
    if (v[i] < '0' || v[i] > '9') return false;
  return text::parse_date(v).has_value();
}

// The message of a value that breaks its rule; empty when it keeps it.
std::string violation(const Check& c, const std::string& value) {
  if (value.empty()) return c.required ? kRequired : "";
  const size_t n = cards::char_count(value);
  switch (c.rule) {
    case Rule::longest:
      if (n > static_cast<size_t>(c.limit)) return "Значение более " + std::to_string(c.limit) + " символов";
      break;
    case Rule::date:
      if (!is_date_text(value)) return "Значение не формата ДД.ММ.ГГГГ";
      break;
    case Rule::exact:
      if (n != static_cast<size_t>(c.limit)) return "Значение не " + std::to_string(c.limit) + " символов";
      break;
    case Rule::none:
      break;
  }
  return {};
}

// The card product the bank issues for a salary.
const char* card_product(double okl) {
  const double s = okl * 1.5;
  if (s >= 100000) return "PLAT";
  if (s >= 60000) return "VGLD";
  if (s >= 20000) return "CLAS";
  return "VCLI";
}

// Series and number of the identity document; older records hold the whole number in SER.
struct Document {
  std::string series, number;
};
Document split_document(int vdoc, const std::string& ser, const std::string& num) {
  if (ser.empty()) return {};
  if (!num.empty()) return {ser, num};
  const bool whole = vdoc == 5 || (vdoc >= 10 && vdoc <= 14) || vdoc == 91;
  const size_t chars = cards::char_count(ser);
  if (whole || chars <= 6) return {{}, ser};
  const size_t cut = cards::char_offset(ser, chars - 6);
  Document d{ser.substr(0, cut), ser.substr(cut)};
  if (vdoc == 21) {
    const size_t third = cards::char_offset(d.series, 2);
    d.series.erase(third, cards::char_offset(d.series, 3) - third);
  }
  return d;
}

std::string range(int column, int row) {
  const std::string cell = office::ColLitFromNum(column) + std::to_string(row);
  return cell + ":" + cell;
}

// The export log: a new book, a line per violation as it occurs; its finishing step sorts
// the lines by employee, frames them and shows the book.
class TExportLog {
 public:
  // False when the application could not start (it has said why).
  bool Open(int backend) {
    server_ = office::CreateServer(backend);
    server_->NewBook(false);
    if (!server_->IsConnected()) return false;
    PutValue(*server_, 1, 1, "Протокол выгрузки", 0);
    return true;
  }

  // The n-th violation of the run goes to line n; `own` is the employee's own running number.
  void Add(int own, int tn, const std::string& fio, const std::string& caption, const std::string& message) {
    const int row = 3 + lines_++;
    if (own == 1) {
      PutValue(*server_, row, 1, static_cast<int32_t>(tn), 0);
      PutValue(*server_, row, 2, fio, 0);
    }
    PutValue(*server_, row, 3, caption, 0);
    PutValue(*server_, row, 4, message, 0);
    // The key keeps an employee's lines together, in the order they were found.
    char key[32];
    std::snprintf(key, sizeof key, " %010d %05d", tn, own);
    server_->SetCell(office::vkString, row, kColE, fio + key, 0);
  }

  void Finish() {
    TServerImp& s = *server_;
    s.SetNumberFormat("A1:D1", "@", 0);
    s.MergeRange("A1:D1", true, 0);
    s.SetHorizontalAlignment("A1:D1", kCentred, 0);
    s.SetVerticalAlignment("A1:D1", kCentred, 0);
    s.SetWrapText("A1:D1", true, 0);
    s.SetRowHeight(1, 1, 24, 0);
    const char* headings[] = {"ТН", "Фамилия, Имя, Отчество", "Колонка", "Ошибка"};
    for (int c = 0; c < 4; ++c) PutValue(s, 2, c + 1, headings[c], 0);
    const int last = 2 + lines_;
    if (lines_ > 1) s.SortRange("A3:E" + std::to_string(last), {{kColE, true}}, 0);
    // The key's cells go rather than the column: the Calc server keeps whole columns in place.
    s.DeleteRange("E1:E" + std::to_string(last), office::xlShiftToLeft, 0);
    s.SetBorders(s.GetRangeObject("A1:D" + std::to_string(last), 0), office::beAll, 2, 0, false);
    s.AutoFitColumns(1, 4, 0);
    s.FitToPageWidth(0);
    s.SetVisible(true);
  }

  int Lines() const { return lines_; }

 private:
  std::unique_ptr<TServerImp> server_;
  int lines_ = 0;
};

// The employees the registry may list, for the user to tick.
class TfmHRDOC101 {
 public:
  explicit TfmHRDOC101(ui::Ui& ui) : ui_(ui) {}

  std::string lbNm = "Выберите сотрудников для печати реестра";
  ui::Table rows{{"ФИО", "Подразделение"}, {}};
  std::vector<long long> keys;
  std::vector<bool> checked;

  void Add(long long kp, const std::string& fio, const std::string& department) {
    rows.rows.push_back({fio, department});
    keys.push_back(kp);
    checked.push_back(false);
  }

  // True when "Выбрать" was pressed; the ticks are then the user's.
  bool ShowModal() {
    ui::Form form;
    form.name = "TfmHRDOC101";
    form.caption = lbNm;
    form.fields.push_back(ui::checklist_field("ListView1", lbNm, rows, keys));
    form.buttons = {{"BitBtn1", "Выбрать", false, false, true}, {"BitBtn2", "Закрыть", true}};
    ui::Form* f = &form;
    form.actions = {{'+', "Поставить все галочки", [f] { f->fields[0].check_all(true); }},
                    {'-', "Снять все галочки", [f] { f->fields[0].check_all(false); }}};
    if (!ui_.edit_form(form) || form.pressed != "BitBtn1") return false;
    checked = form.fields[0].checked;
    return true;
  }

 private:
  ui::Ui& ui_;
};

class TfmHRDOC100 : public TReportWindow {
 public:
  TfmHRDOC100() { Caption = "Печать реестра об открытии картсчетов сотрудникам организации"; }

  void Job() override {
    const std::string code = "HRDOC100";
    if (!HasDatabase(code)) return;
    db::Connection& connection = *dm->ADOConnection;
    const TDateTime fd = text::first_day_of_month(c_p->D1);

    TfmHRDOC101 fmHRDOC101(UI());
    struct Candidate {
      std::optional<TDateTime> psts;
      int64_t unsd;
    };
    std::vector<Candidate> candidates;
    db::Query qrySelect(connection);
    qrySelect.sql(kQrySelect);
    qrySelect.set("OW", int64_t{c_p->KP});
    qrySelect.set("OW1", int64_t{c_p->KP});
    qrySelect.set_date("FD", fd);
    qrySelect.set_date("DT1", c_p->D1);
    qrySelect.set_date("DT2", c_p->D2);
    qrySelect.open();
    for (qrySelect.first(); !qrySelect.eof(); qrySelect.next()) {
      fmHRDOC101.Add(qrySelect.field("KP").as_int(), qrySelect.field("FIO").as_string(),
                     qrySelect.field("OWNAME").as_string());
      const db::Field psts = qrySelect.field("PSTS");
      candidates.push_back({psts.is_null() ? std::nullopt : std::optional(psts.as_date()),
                            qrySelect.field("UNSD").as_int()});
    }

    if (arg == 0) {
      db::Query qryCard(connection);
      qryCard.sql(kQryCard);
      for (size_t i = 0; i < candidates.size(); ++i) {
        const Candidate& c = candidates[i];
        if (c.psts && *c.psts <= c_p->D2) continue;
        bool has_account = false;
        if (c.unsd <= 0) {
          qryCard.set("KP", int64_t{fmHRDOC101.keys[i]});
          qryCard.open();
          has_account = !qryCard.eof() && !qryCard.field("NS4").as_string().empty();
        }
        fmHRDOC101.checked[i] = c.unsd > 0 || !has_account;
      }
    } else if (!fmHRDOC101.ShowModal()) {
      return;
    }

    TExportLog log;
    if (!log.Open(c_p->ext().office)) return;
    const std::optional<std::string> copy = WorkCopy(code);
    if (!copy) return;
    std::unique_ptr<TServerImp> xl = office::CreateServer(c_p->ext().office);
    xl->OpenBook(*copy, false);
    if (!xl->IsConnected()) return;

    lbM.set_caption("Запрос данных формы...");
    db::Query qryTel(connection);
    qryTel.sql(kQryTel);
    qryTel.set("CNST", std::string("KDRTEL"));
    qryTel.open();
    const std::string phone = qryTel.eof() ? std::string() : qryTel.field("CNST").as_string();
    lbM.set_caption("Запрос данных формы... Ok");
    pbM.set_min(0);
    pbM.set_position(0);
    pbM.set_step(1);
    pbM.set_max(static_cast<int>(fmHRDOC101.keys.size()));

    db::Query q(connection);
    q.sql(kQryExlSp27);
    q.set_date("FD", fd);
    int r = kFirstLine, lines = 0;
    for (size_t i = 0; i < fmHRDOC101.keys.size(); ++i) {
      if (fmHRDOC101.checked[i]) {
        q.set("KP", int64_t{fmHRDOC101.keys[i]});
        q.open();
        if (!q.eof()) {
          PrintLine(*xl, log, q, r, phone);
          ++r;
          ++lines;
        }
      }
      pbM.step_it();
    }

    if (lines > 0) {
      const int last = kFirstLine + lines - 1;
      xl->SortRange("A" + std::to_string(kFirstLine) + ":" + kLastColumn + std::to_string(last), {{kColC, true}}, 0);
      for (int n = 1; n <= lines; ++n) PutValue(*xl, kFirstLine + n - 1, kColB, static_cast<int32_t>(n), 0);
    }
    lbM.set_caption(lines > 0 ? "Подготовка формы... Ok" : "Подготовка формы... Данных нет");
    xl->SetVisible(true);
    // The log is named apart from the registry it belongs to.
    c_p->ext().document_code = code + "_протокол";
    log.Finish();
  }

 private:
  // Fills line r for the employee of the query and moves it to the top of the data.
  void PrintLine(TServerImp& xl, TExportLog& log, db::Query& q, int r, const std::string& phone) {
    const std::string fname = q.field("FNAME").as_string();
    lbM.set_caption("Подготовка формы >" + fname);
    const std::string row = std::to_string(r);
    // An empty formatted copy of the line stays below the one being filled.
    xl.CopyRangeByName("A" + row + ":" + kLastColumn + row, "A" + std::to_string(r + 1), true, office::xlShiftDown, 0);

    const cards::PersonName name = cards::split_name(fname);
    auto piece = [](const std::string& s) { return s.empty() ? std::string(" ") : s; };
    PutValue(xl, r, kColC, piece(name.surname), 0);
    PutValue(xl, r, kColD, piece(name.first), 0);
    PutValue(xl, r, kColE, piece(name.patronymic), 0);
    const int tn = static_cast<int>(q.field("TN").as_int());
    PutValue(xl, r, kColF, static_cast<int32_t>(tn), 0);

    int own = 0;
    auto put = [&](const Check& c, const std::string& value) {
      PutValue(xl, r, c.column, value, 0);
      const std::string message = violation(c, value);
      if (message.empty()) return;
      xl.SetRangeColor(range(c.column, r), kRed, 0);
      log.Add(++own, tn, fname, c.caption, message);
    };
    auto text_of = [&](const char* field) { return text::trim(q.field(field).as_string()); };
    auto date_of = [&](const char* field) {
      const db::Field f = q.field(field);
      return f.is_null() ? std::string() : text::date_text(f.as_date());
    };
    auto as_text = [&](const Check& c) { xl.SetNumberFormat(range(c.column, r), "@", 0); };

    const db::Field vdoc = q.field("VDOC");
    put(kG, vdoc.is_null() ? std::string() : std::to_string(vdoc.as_int()));
    const Document doc = split_document(static_cast<int>(vdoc.as_int()), text_of("SER"), text_of("NUM"));
    put(kH, doc.series);
    as_text(kI);
    put(kI, doc.number);
    put(kJ, date_of("FDVD"));
    put(kK, text_of("ORG"));
    put(kL, text_of("KORG"));
    const std::string settlement = text_of("nasN");
    put(kM, settlement.empty() ? text_of("gorN") : settlement);
    as_text(kN);
    const db::Field region = q.field("regK");
    char code[16] = "";
    if (!region.is_null()) std::snprintf(code, sizeof code, "%2.2d", static_cast<int>(region.as_int()));
    put(kN, code);
    put(kO, text_of("raiN"));
    put(kP, text_of("ulN"));
    as_text(kQ);
    put(kQ, text_of("DOM"));
    put(kR, text_of("KORP"));
    put(kS, text_of("KV"));
    put(kT, text_of("IND"));
    put(kU, date_of("FDR"));
    put(kV, text_of("kgorp"));
    const std::string pol = text_of("POL");
    put(kW, pol == "Ж" || pol == "ж" ? "Ж" : pol == "М" || pol == "м" ? "М" : "");
    put(kX, "рабочий");
    put(kY, phone);
    PutValue(xl, r, kColAD, card_product(q.field("okl").as_float()), 0);

    // The newest line goes to the top; the empty formatted one stays below the data.
    xl.CopyRangeByName("A" + row + ":" + kLastColumn + row, "A" + std::to_string(kFirstLine), true,
                       office::xlShiftDown, 0);
    const std::string moved = std::to_string(r + 1);
    xl.DeleteRange("A" + moved + ":" + kLastColumn + moved, office::xlShiftUp, 0);
    xl.SelectRange("A8:A8", 0);
  }
};

const bool statements = register_statements(
    "HRDOC101", {{"qrySelect", kQrySelect}, {"card account", kQryCard}, {"telephone", kQryTel},
                 {"qryExlSp27", kQryExlSp27}});
const bool registered =
    register_report<TfmHRDOC100, "HRDOC100">() && register_report<TfmHRDOC100, "HRDOC101">();

}  // namespace
}  // namespace hrdoc
