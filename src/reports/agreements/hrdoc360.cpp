// "HRDOC360": supplementary agreements for the new tariff grid, one Word document with an
// agreement per page for every employee of the department set whose latest history record
// carries a salary.
#include <memory>
#include <optional>
#include <string>

#include "host/compark.h"
#include "host/compark_text.h"
#include "host/statements.h"
#include "host/udm.h"
#include "host/uosrv220.h"
#include "office/classwrd.h"
#include "reports/agreements/agreement_common.h"
#include "reports/agreements/tariff_window.h"
#include "text/date.h"
#include "text/strings.h"

namespace hrdoc {
namespace {

using agreements::PositionUnitName;

constexpr const char* kQryTmp = R"(select n from zppasp where p=1)";

constexpr const char* kQrySelect = R"(select kpn.kp, kpn.tn, kpn.fname, t2.owner,s1.fname as NMOWNER,adr.REGN,adr.RAI,adr.GOR,adr.NAS,adr.ULNAME, adr.DOM,adr.KORP,adr.KV,ads.SER,ads.NUM,ads.FDVD,ads.NORG,s2.fname as NMOWNERG, s2.KP as KPG,ob.kstr,ob.kregp,ob.kraip,ob.kgorp,ads.fdr from kdt2iiidvg t2 left join kdt2iob ob on ob.KP=t2.kp left join otzkpn kpn on kpn.kp=t2.kp left join otzkpn s1 on s1.kp=t2.owner left join otzkpn s2 on s2.kp=s1.owner left join ZPADRES adr on adr.KP=t2.KP left join ZPADS1 ads on ads.KP=adr.KP where t2.UNSD=(select first 1 t2dvg.UNSD from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto<=:fd order by t2dvg.DTO desc,t2dvg.UNSD desc) and (t2.ktd!=121 or (t2.KTD=121 and t2.dto=:FD1)) and t2.OKL>0)";

constexpr const char* kQryT2 = R"(select ob.CONTRACTN as CONN,ob.CONTRACTDATE as CONDT,adr.SER,adr.NUM,adr.ORG,adr.FDVD, ob.KREGP,ob.KRAIP,ob.KGORP,kpn.fname,dvg.OKL,dvg.NMDS as DOLN,dvg.STV, adr.fdr as DTR,sht.PKG from otzkpn kpn left join zpads1 adr on adr.KP=kpn.KP left join kdt2iob ob on kpn.KP=ob.KP left join kdt2iiidvg dvg on dvg.KP=ob.KP and dvg.unsd=(     select first 1 dvg1.unsd     from kdt2iiidvg dvg1     left join KDSDJS js on js.UNSD=dvg1.UNSD     left join KDSDJZ jz on jz.UND=js.UND     where dvg1.KP=ob.KP and dvg1.kp=:IDKBU1 and (jz.KTD=:KTD or jz.KTD=:KTD1)     order by dvg1.dto desc ) left join otzsht sht on sht.KP=dvg.KP where kpn.kp=:IDKBU)";

// The employee's requisites beside the signature: registered address, passport, birth.
std::string Requisites(const db::Query& e) {
  auto text = [&](const char* name) { return e.field(name).as_string(); };
  std::string s = "Адрес прописки\n";
  if (!text("REGN").empty()) s += text::capitalize(text("REGN"));
  for (const char* name : {"RAI", "GOR", "NAS", "ULNAME"})
    if (!text(name).empty()) s += ",\n " + text::capitalize(text(name));
  for (const char* name : {"DOM", "KORP", "KV"})
    if (!text(name).empty()) s += ", " + text(name);
  s += "\nПаспорт";
  s += text("SER").empty() ? "   " : " " + text("SER");
  s += " №";
  s += text("NUM").empty() ? "     " : " " + text("NUM");
  if (!text("NORG").empty()) s += ",\n" + text("NORG");
  s += " \nДата выдачи";
  if (!e.field("FDVD").is_null()) s += " " + text::date_text(e.field("FDVD").as_date());
  s += "\nМесто рождения\n";
  s += text("KSTR");
  for (const char* name : {"KREGP", "KRAIP", "KGORP"})
    if (!text(name).empty()) s += ", " + text(name);
  s += "\nДата рождения\n";
  if (!e.field("FDR").is_null()) s += text::date_text(e.field("FDR").as_date());
  return s;
}

class Tfmhrd360 : public agreements::TTariffAgreementWindow {
 public:
  void Job() override {
    std::unique_ptr<office::TWordDoc> word = OpenWordReport("HRDOC360", "Подготовка данных...");
    if (!word) return;
    const std::optional<std::string> copy360 = WorkCopy("HRDOC360", ".docx");
    if (!copy360) return;
    const std::optional<std::string> copy361 = WorkCopy("HRDOC361", ".docx");
    if (!copy361) return;
    word->OpenDocument(*copy360);
    const std::string name360 = word->ActiveName();
    word->OpenDocument(*copy361);
    const std::string name361 = word->ActiveName();

    const std::string enterprise = ReadEnterprise();
    db::Query qrySelect(*dm->ADOConnection);
    qrySelect.sql(std::string(kQrySelect) + c_p->GetKpSewForWhere("kpn.KP") + " order by kpn.fname");
    qrySelect.set_date("fd", SelectionDate());
    qrySelect.set_date("FD1", SelectionDate());
    qrySelect.open();

    db::Query qryT2(*dm->ADOConnection);
    qryT2.sql(kQryT2);
    std::string result;  // the result document's name once the first agreement is made
    PrintRows(qrySelect, "fname", [&] {
      const int64_t kp = qrySelect.field("kp").as_int();
      qryT2.close();
      qryT2.set("IDKBU", kp);
      qryT2.set("IDKBU1", kp);
      qryT2.set("KTD", int64_t{GetKodUosrv220(51)});
      qryT2.set("KTD1", int64_t{GetKodUosrv220(8)});
      qryT2.open();
      if (qryT2.eof() || qryT2.field("OKL").as_float() == 0 || qryT2.field("STV").as_float() == 0) return;
      const int64_t pkg = qryT2.field("PKG").as_int();
      const bool tariff = pkg >= 1 && pkg <= 3;
      if (result.empty()) {
        const std::optional<std::string> first = WorkCopy(tariff ? "HRDOC360" : "HRDOC361", ".docx");
        if (!first) throw std::runtime_error("Не найден шаблон");
        word->NewDocument(*first);
        result = word->ActiveName();
      } else {
        word->Activate(result);
        word->GoToEnd();
        word->PageBreak();
        word->Activate(tariff ? name360 : name361);
        word->SelectAll();
        word->Copy();
        word->Activate(result);
        word->Paste();
      }
      Fill(*word, qrySelect, qryT2);
    });

    for (const std::string& name : {name360, name361}) {
      word->Activate(name);
      word->CloseWindow();
    }
    if (result.empty()) {
      c_p->armerr(kArmInformation, "Нет сотрудников для печати доп. соглашений");
      return;
    }
    word->Activate(result);
    word->SetVisible(true);
  }

 private:
  std::string ReadEnterprise() {
    db::Query q(*dm->ADOConnection);
    q.sql(kQryTmp);
    q.open();
    return q.eof() ? std::string() : q.field("n").as_string();
  }

  void Fill(office::TWordDoc& word, const db::Query& e, const db::Query& t2) {
    const std::string name = t2.field("fname").as_string();
    const std::string doln = t2.field("DOLN").as_string();
    const double okl = t2.field("OKL").as_float();
    const std::string contract = t2.field("CONN").as_string();
    const std::string contractDate = t2.field("CONDT").is_null() ? std::string() : agreements::date_words(t2.field("CONDT").as_date());
    word.ReplaceAll("$fnumdate", "№ " + contract + " от " + contractDate + " года");
    word.ReplaceAll("$fdolfioruk", Text("edDolRuk") + ", " + Text("edFioRuk"));
    word.ReplaceAll("$fosn", Text("edOsnPr"));
    const std::string employee = PositionUnitName(doln, e, name);
    word.ReplaceAll("$fdolfiootdrab1", employee);
    word.ReplaceAll("$fdolfiootdrab2", employee);
    word.ReplaceAll("$fnumdg", contract);
    word.ReplaceAll("$fdatedg", t2.field("CONDT").is_null() ? std::string() : text::date_text(t2.field("CONDT").as_date()));
    word.ReplaceAll("$fokl", agreements::AmountText(okl));
    word.ReplaceAll("$foprop", text::trim(text::amount_in_words(okl)));
    word.ReplaceAll("$fpkg", std::to_string(t2.field("PKG").as_int()));
    if (word.Find("$fdatarab")) word.TypeText(Requisites(e));
    word.ReplaceAll("$ffruk1", agreements::short_name(Text("edFioRuk")));
    word.ReplaceAll("$ffiorab1", agreements::short_name(name));
    if (word.Find("$fsogl")) word.TypeText(Text("mmSogl"));
    word.ReplaceAll("$fnumpr", Text("edNumPr"));
    word.ReplaceAll("$fdtopr", IssueDateText());
    word.ReplaceAll("$fdtvpr", EffectiveDateText());
  }
};

const bool statements =
    register_statements("HRDOC360", {{"qryTmp", kQryTmp}, {"qrySelect", std::string(kQrySelect) + " order by kpn.fname"}, {"qryT2", kQryT2}});
const bool registered = register_report<Tfmhrd360, "HRDOC360">();

}  // namespace
}  // namespace hrdoc
