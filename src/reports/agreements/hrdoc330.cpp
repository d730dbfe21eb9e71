// "HRDOC330": supplementary agreements rewriting the employee's duties (clause 1.1 of the
// labour contract), a page of a book per employee of the department set.
#include <string>

#include "host/compark.h"
#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "reports/agreements/agreement_common.h"
#include "reports/agreements/tariff_window.h"
#include "text/date.h"
#include "text/strings.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kQryTmp = R"(select n from zppasp where p=1)";

constexpr const char* kQrySelect = R"(select kpn.kp, kpn.tn, kpn.fname, t2.owner,s1.sname as NMOWNER,adr.REGN,adr.RAI,adr.GOR,adr.NAS,adr.ULNAME, adr.DOM,adr.KORP,adr.KV,ads.SER,ads.NUM,ads.FDVD,ads.ORG,s2.sname as NMOWNERG, s2.KP as KPG from kdt2iiidvg t2 left join kdt2iob ob on ob.KP=t2.kp left join otzkpn kpn on kpn.kp=t2.kp left join otzkpn s1 on s1.kp=t2.owner left join otzkpn s2 on s2.kp=s1.owner left join ZPADRES adr on adr.KP=t2.KP left join ZPADS1 ads on ads.KP=adr.KP where t2.UNSD=(select first 1 t2dvg.UNSD from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto<=:fd order by t2dvg.DTO desc,t2dvg.UNSD desc) and (t2.ktd!=121 or (t2.KTD=121 and t2.dto=:FD1)) and t2.OKL>0)";

constexpr const char* kQryT2 = R"(select ob.CONTRACTN as CONN,ob.CONTRACTDATE as CONDT,adr.SER,adr.NUM,adr.ORG,adr.FDVD, ob.KREGP,ob.KRAIP,ob.KGORP/*,ob.DTR*/,kpn.fname,dvg.OKL,dvg.NMDS as DOLN,dvg.STV, adr.fdr as DTR from otzkpn kpn left join zpads1 adr on adr.KP=kpn.KP left join kdt2iob ob on kpn.KP=ob.KP left join kdt2iiidvg dvg on dvg.KP=ob.KP and dvg.dto=(     select max(dvg1.dto)     from kdt2iiidvg dvg1     left join KDSDJS js on js.UNSD=dvg1.UNSD     left join KDSDJZ jz on jz.UND=js.UND     where dvg1.KP=ob.KP and dvg1.kp=:IDKBU1 and (jz.KTD=21 or jz.KTD=22) and dvg1.DTO<=:DTO ) where kpn.kp=:IDKBU)";

constexpr const char* kFd3 =
    "1.1.  Добросовестно, качественно и своевременно исполнять свои трудовые обязанности, изложенные в трудовом "
    "договоре и должностной инструкции, являющейся неотъемлемой  частью настоящего трудового договора (приложение "
    "№1), выполнять приказы, правила и  инструкции, другие локальные нормативные акты Работодателя.";

// The employee's requisites: registered address, passport, birth.
std::string Requisites(const db::Query& e, const db::Query& t2) {
  auto text = [](const db::Query& q, const char* name) { return q.field(name).as_string(); };
  auto date = [](const db::Query& q, const char* name) {
    return q.field(name).is_null() ? std::string() : text::date_text(q.field(name).as_date());
  };
  std::string s = "Адрес прописки\n";
  for (const char* name : {"REGN", "RAI", "GOR", "NAS", "ULNAME", "DOM", "KORP", "KV"})
    if (!text(e, name).empty()) s += text(e, name) + ", ";
  s += "\nПаспорт " + text(e, "SER") + " №" + text(e, "NUM");
  if (!text(e, "ORG").empty()) s += " " + text(e, "ORG");
  s += "\nДата выдачи " + date(e, "FDVD");
  s += "\nМесто рождения " + text(t2, "KREGP");
  for (const char* name : {"KRAIP", "KGORP"})
    if (!text(t2, name).empty()) s += ", " + text(t2, name);
  s += "\nДата рождения: " + date(t2, "DTR");
  return s;
}

class Tfmhrd330 : public agreements::TTariffAgreementWindow {
 public:
  void Job() override {
    TExcelShablon w;
    if (!OpenReport(w, "HRDOC330", "Подготовка данных...")) return;
    db::Query qryTmp(*dm->ADOConnection);
    qryTmp.sql(kQryTmp);
    qryTmp.open();
    const std::string enterprise = qryTmp.eof() ? std::string() : qryTmp.field("n").as_string();

    db::Query qrySelect(*dm->ADOConnection);
    qrySelect.sql(std::string(kQrySelect) + c_p->GetKpSewForWhere("kpn.KP") + " order by kpn.fname");
    qrySelect.set_date("fd", SelectionDate());
    qrySelect.set_date("FD1", SelectionDate());
    qrySelect.open();

    db::Query qryT2(*dm->ADOConnection);
    qryT2.sql(kQryT2);
    const text::Ymd issued = text::decode_date(*DateOf("edDTOPr"));
    const std::string issuedWords = agreements::date_words(*DateOf("edDTOPr"));
    PrintRows(qrySelect, "fname", [&] {
      const int64_t kp = qrySelect.field("kp").as_int();
      qryT2.close();
      qryT2.set("IDKBU", kp);
      qryT2.set("IDKBU1", kp);
      qryT2.set_date("DTO", c_p->D);
      qryT2.open();
      if (qryT2.eof() || qryT2.field("OKL").as_float() == 0 || qryT2.field("STV").as_float() == 0) return;
      const std::string name = qryT2.field("fname").as_string();
      const std::string doln = qryT2.field("DOLN").as_string();
      const std::string contract = qryT2.field("CONN").as_string();
      const std::string contractDate =
          qryT2.field("CONDT").is_null() ? std::string() : agreements::date_words(qryT2.field("CONDT").as_date());
      w.ClearPart("ppH");
      w.SetField("ppH", "fnumdate", "№ " + contract + " от " + contractDate + " года.");
      w.SetField("ppH", "fdv", static_cast<int32_t>(issued.day));
      w.SetField("ppH", "fmv", agreements::month_word(issued.month));
      w.SetField("ppH", "fyv", static_cast<int32_t>(issued.year));
      w.SetField("ppH", "fd1",
                 text::trim(agreements::UnitText(qrySelect)) + " " + doln + " " + name + " в лице " + Text("edDolRuk") +
                     " " + Text("edFioRuk") + ", действующего на основании " + Text("edOsnPr") +
                     ", именуемого в дальнейшем «Работодатель», с одной стороны и " + doln + " " + name +
                     " ОАО «Заречтрубопровод», именуемый в дальнейшем «Работник», с другой стороны, заключили "
                     "настоящее соглашение о нижеследующем:");
      w.SetField("ppH", "fd2",
                 "1. Дополнить пункт № 1.1 раздела № 1 «Обязанности работника» трудового договора № " + contract +
                     " от " + contractDate +
                     " года, заключенного  между  «Работодателем» и «Работником»,  изложив его в следующей редакции:");
      w.SetField("ppH", "fd3", kFd3);
      w.SetField("ppH", "fd4",
                 "2. Настоящее соглашение вступает в силу " + issuedWords +
                     " года и действует в рамках действующего трудового законодательства Российской Федерации на "
                     "неопределенный срок.");
      w.SetField("ppH", "fdatarab", Requisites(qrySelect, qryT2));
      w.SetField("ppH", "fdruc1", Text("edDolRuk"));
      w.SetField("ppH", "fpredpr", enterprise);
      w.SetField("ppH", "ffruk1", Text("edFioRuk"));
      w.SetField("ppH", "ffiorab1", name);
      w.SetField("ppH", "fsogl", Text("mmSogl"));
      w.SetField("ppH", "ffiorab2", "(" + name + ")");
      w.AddPart("ppH", 0);
    });
    FinishReport(w);
  }
};

const bool statements =
    register_statements("HRDOC330", {{"qryTmp", kQryTmp}, {"qrySelect", std::string(kQrySelect) + " order by kpn.fname"}, {"qryT2", kQryT2}});
const bool registered = register_report<Tfmhrd330, "HRDOC330">();

}  // namespace
}  // namespace hrdoc
