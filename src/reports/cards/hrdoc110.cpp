// "HRDOC110": the registry for issuing salary cards to the employees hired in the period, and
// "HRDOC111", the same employees in the bank's import layout; both from one workbook object.
#include <array>
#include <exception>
#include <string>
#include <string_view>

#include "db/database.h"
#include "forms/edit.h"
#include "host/compark.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "reports/cards/person_name.h"
#include "text/date.h"
#include "text/strings.h"
#include "ui/ui.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kQryExl38 = R"(select kpn.FNAME,ads1.FDVD,ads1.POL,ads1.FDR,t2ob.KSTR,t2ob.KREGP,t2ob.KRAIP,t2ob.KGORP,ads1.VDOC,ads1.SER, ads1.NUM,ads1.ORG,ads1.KORG,t2add.IND,t2add.REG as REGN,t2add.GOR as GORN,t2add.NAS as NASN,t2add.ULNAME as ULN, t2add.DOM,t2add.KORP,kpn.TN,t2add.RAI as RAIN,ads1.ULNAME as INN,t2add.KODNAS as KNAS,kpn.KP,dvg.DTO from otzkpn kpn left join otzkpn kpn1 on kpn1.KP=kpn.OWNER left join otzkpn kpn2 on kpn2.KP=kpn1.OWNER left join otzkpn kpn3 on kpn3.KP=kpn2.OWNER left join KDT2IIIDVG dvg on dvg.UNSD=(select max(dvg1.UNSD) from KDT2IIIDVG dvg1 left join kdsdjs js on js.UNSD=dvg1.UNSD where dvg1.KP=kpn.KP and dvg1.DTO>=:DT1 and dvg1.DTO<=:DT2 and js.KTD=21) left join ZPADRES t2add on t2add.KP=kpn.KP left join ZPADS1 ads1 on ads1.KP=kpn.KP left join KDT2IADF t2adf on t2adf.KP=kpn.KP left join KDT2IOB t2ob on t2ob.KP=kpn.KP left join otzruc2 ruc2 on ruc2.KP=kpn.OWNER where kpn.TN>0 and upper(kpn1.SNAME) <> 'ПЕНСИОНЕРЫ' and upper(kpn1.SNAME) <> 'АКЦИОНЕРЫ' and :OW in (kpn.OWNER,kpn1.OWNER,kpn2.OWNER,kpn3.OWNER) and dvg.UNSD is not NULL)";
constexpr const char* kOrderFio = R"( order by kpn.FNAME)";
constexpr const char* kOrderTn = R"( order by kpn.TN)";
constexpr const char* kOrderDto = R"( order by dvg.DTO)";
constexpr const char* kQryPredpr = R"(select N from zppasp where P=1)";
constexpr const char* kQryPodr = R"(select SNAME from otzkpn where KP=:KP)";
constexpr const char* kQryUw = R"(select ls.UW from zpls ls where ls.KP=:KP and ls.FD=:FD)";
constexpr const char* kQryOrder =
    R"(select first 1 dvg.NMDS,js.KTD,dvg.okl from kdt2iiidvg dvg left join kdsdjs js on js.UNSD=dvg.UNSD where dvg.KP=:KP and dvg.DTO<=:DTO order by dvg.DTO desc)";
constexpr const char* kQryDoljn =
    R"(select first 1 dvg.NMDS from kdt2iiidvg dvg where dvg.KP=:KP and dvg.DTO<=:DTO order by dvg.DTO desc)";

constexpr int kFirstLine = 13;   // of the registry
constexpr int kFirstData = 3;    // of the data sheet
constexpr int kKtdLeftOut = 3;   // an order of this kind keeps the employee off the registry

// The kind words of place, district and street names, in the order they are tried.
constexpr std::array<std::string_view, 35> kKindWords = {
    "г",   "ул",     "наб",  "с",    "пр-кт", "ш",      "пер",   "п",      "ст",   "пгт",  "ст-ца", "пос",
    "х",   "сл",     "р-н",  "р-он", "край",  "респ",   "обл",   "ж/д_рзд", "аул",  "д",    "рп",    "рп",
    "мкр", "ж/д_ст", "совхоз", "проезд", "кв-л", "уч-к", "пл",  "туп",    "пр-т", "линия", "пр"};

// A name split into the name proper and its kind word ("ул. Ленина": "Ленина" and "ул").
struct KindName {
  std::string name, kind;
};

// The first word of the list standing as a whole word, with or without one dot, at the start
// or the end of the name moves into the kind.
KindName take_kind(const std::string& given) {
  const std::string name = text::trim(given);
  const size_t first_end = name.find(' ');
  const size_t last_start = name.rfind(' ');
  if (first_end == std::string::npos) return {name, {}};
  const std::string_view head(name.data(), first_end);
  const std::string_view tail(name.data() + last_start + 1, name.size() - last_start - 1);
  auto is = [](std::string_view word, std::string_view kind) {
    if (!word.empty() && word.back() == '.') word.remove_suffix(1);
    return word == kind;
  };
  for (std::string_view kind : kKindWords) {
    if (is(head, kind)) return {text::trim(name.substr(first_end + 1)), std::string(kind)};
    if (is(tail, kind)) return {text::trim(name.substr(0, last_start)), std::string(kind)};
  }
  return {name, {}};
}

std::string without_quotes(std::string s) {
  std::erase(s, '"');
  return s;
}

// The sort window: the order of the lines.
class TfmHRDOC111 : public TfmEdit {
 public:
  explicit TfmHRDOC111(compark* owner) : TfmEdit(owner, "TfmHRDOC111") {
    Caption = "Реестр на выпуск банковских карт";
    Fields = {ui::radio_field("rg", "Сортировка по...", {"ФИО", "ТН", "Дате приема"}, 0)};
    bbOk.caption = "OK";
    CancelVisible = false;
  }
  // The clause the chosen item appends to the employee query.
  const char* OrderClause() const {
    switch (Fields[0].index()) {
      case 1: return kOrderTn;
      case 2: return kOrderDto;
      default: return kOrderFio;
    }
  }
};

class TfmfmHRDOC110 : public TReportWindow {
 public:
  TfmfmHRDOC110() { Caption = "Печать реестра на выпуск банковских карт Visa (Classic, Gold)"; }

  void Job() override {
    TExcelShablon w;
    TfmHRDOC111 fmHRDOC111(c_p);
    fmHRDOC111.ShowModal();
    if (!HasDatabase("HRDOC110")) return;
    db::Connection& connection = *dm->ADOConnection;

    db::Query qryExl38(connection);
    qryExl38.sql(std::string(kQryExl38) + fmHRDOC111.OrderClause());
    qryExl38.set("OW", int64_t{c_p->KP});
    qryExl38.set_date("DT1", c_p->D1);
    qryExl38.set_date("DT2", c_p->D2);
    qryUw_.emplace(connection);
    qryUw_->sql(kQryUw);
    qryUw_->set_date("FD", text::first_day_of_month(c_p->D));
    qryOrder_.emplace(connection);
    qryOrder_->sql(kQryOrder);

    try {
      if (OpenReport(w, "HRDOC110", "Подготовка формы для печати...")) {
        lbM.set_caption("Запрос данных формы Реестр на выпуск банковских карт...");
        w.SetField("ppH", "fpredpr", Single(kQryPredpr, "N", {}));
        w.SetField("ppH", "fpodr", Single(kQryPodr, "SNAME", c_p->KP));
        qryExl38.open();
        int count = 0;
        PrintListed(qryExl38, [&] {
          w.ClearPart("ppD");
          w.SetField("ppD", "fnum", static_cast<int32_t>(++count));
          w.SetField("ppD", "ffio", qryExl38.field("FNAME").as_string());
          auto f = [&](const char* name) { return qryExl38.field(name).as_string(); };
          w.SetField("ppD", "fpasp", f("NUM") + "," + f("SER") + "," + f("ORG") + "," + f("FDVD"));
          w.AddPart("ppD", 0);
        });
        if (w.OutputRow() > kFirstLine) w.GetApplication()->AutoFitRows(kFirstLine, w.OutputRow() - 1, 0);
        w.GetApplication()->SelectRange("A1", 0);
        lbM.set_caption(count > 0 ? "Подготовка формы... Ok" : "Подготовка формы... Данных нет");
      }
    } catch (const std::exception& e) {
      c_p->armerr(kArmError, e.what());
    }
    FinishReport(w, "ppH");

    lbM.set_caption("Запрос данных формы Реестр на выпуск банковских карт для DBF...");
    if (!OpenReport(w, "HRDOC111", "Запрос данных формы Реестр на выпуск банковских карт для DBF...")) return;
    if (!qryExl38.active()) qryExl38.open();
    db::Query qryDoljn(connection);
    qryDoljn.sql(kQryDoljn);
    int count = 0;
    PrintListed(qryExl38, [&] {
      ++count;
      auto f = [&](const char* name) { return without_quotes(qryExl38.field(name).as_string()); };
      auto set = [&](const char* field, const std::string& value) { w.SetField("ppD", field, without_quotes(value)); };
      w.ClearPart("ppD");
      set("fFcpol", f("POL"));
      const cards::PersonName name = cards::split_name(f("FNAME"));
      set("fNam3", name.surname);
      set("fNam1", name.first);
      set("fNam2", name.patronymic);
      set("fFcdata_r", f("FDR"));
      set("fFcgorod_r", f("KGORP"));
      set("fKoddoc", f("VDOC"));
      set("fPsp1", f("SER"));
      set("fPsp2", f("NUM"));
      set("fPsp3", f("FDVD"));
      set("fPsp4", f("ORG"));
      set("fSpsp", f("KORG"));
      std::string index = f("IND");
      index.erase(index.find_last_not_of(' ') + 1);
      set("fIndex", index.empty() ? "353900" : index);
      const KindName region = take_kind(f("REGN"));
      set("fAll_region", region.name);
      set("fKodreg", region.kind);
      const db::Field knas = qryExl38.field("KNAS");
      const KindName place = take_kind(!knas.is_null() && knas.as_int() != 0 ? f("NASN") : f("GORN"));
      set("fGorod", place.name);
      set("fTgorod", place.kind);
      const KindName street = take_kind(f("ULN"));
      auto or_zero = [](std::string s) { return s.empty() ? std::string("0") : s; };
      set("fTul", street.kind);
      set("fAdres_ul", street.name + "," + or_zero(text::trim(f("DOM"))) + "," + or_zero(text::trim(f("KORP"))));
      set("fTn", f("TN"));
      const KindName district = take_kind(f("RAIN"));
      set("fNmRn", district.name);
      set("fTypRn", district.kind);
      set("fGrajd", "РОССИЯ");
      qryDoljn.set("KP", qryExl38.field("KP").as_int());
      qryDoljn.set_date("DTO", qryExl38.field("DTO").as_date());
      qryDoljn.open();
      set("fDoljn", qryDoljn.eof() ? std::string() : qryDoljn.field("NMDS").as_string());
      set("fINN", f("INN"));
      w.AddPart("ppD", 0);
    });
    if (w.OutputRow() > kFirstData) w.GetApplication()->AutoFitRows(kFirstData, w.OutputRow() - 1, 0);
    w.GetApplication()->SelectRange("A1", 0);
    lbM.set_caption(count > 0 ? "Подготовка формы... Ok" : "Подготовка формы... Данных нет");
    FinishReport(w, "ppH");
  }

 private:
  // The first value of a one-column look-up; empty when it finds nothing.
  std::string Single(const char* sql, const char* field, std::optional<int> kp) {
    db::Query q(*dm->ADOConnection);
    q.sql(sql);
    if (kp) q.set("KP", int64_t{*kp});
    q.open();
    return q.eof() ? std::string() : q.field(field).as_string();
  }

  // Whether the employee of the row is left out: dismissed in the month of the report date, or
  // the last order up to the hiring is of kind 3 or pays nothing.
  bool Skipped(const db::Query& q) {
    const int64_t kp = q.field("KP").as_int();
    qryUw_->set("KP", kp);
    qryUw_->open();
    if (!qryUw_->eof() && qryUw_->field("UW").as_int() != 0) return true;
    qryOrder_->set("KP", kp);
    qryOrder_->set_date("DTO", q.field("DTO").as_date());
    qryOrder_->open();
    return !qryOrder_->eof() &&
           (qryOrder_->field("KTD").as_int() == kKtdLeftOut || qryOrder_->field("okl").as_float() == 0);
  }

  // Walks the rows from the first, one progress step each, and does the work for those listed.
  template <class Work>
  void PrintListed(db::Query& q, Work&& work) {
    pbM.set_position(0);
    pbM.set_max(q.record_count());
    for (q.first(); !q.eof(); q.next()) {
      lbM.set_caption("Подготовка формы >" + q.field("FNAME").as_string());
      if (!Skipped(q)) work();
      pbM.step_it();
    }
  }

  std::optional<db::Query> qryUw_, qryOrder_;
};

const bool statements = register_statements(
    "HRDOC110", {{"qryExl38 FNAME", std::string(kQryExl38) + kOrderFio},
                 {"qryExl38 TN", std::string(kQryExl38) + kOrderTn},
                 {"qryExl38 DTO", std::string(kQryExl38) + kOrderDto},
                 {"enterprise", kQryPredpr},
                 {"department", kQryPodr},
                 {"account", kQryUw},
                 {"position and order", kQryOrder},
                 {"position", kQryDoljn}});
const bool registered = register_report<TfmfmHRDOC110, "HRDOC110">();

}  // namespace
}  // namespace hrdoc
