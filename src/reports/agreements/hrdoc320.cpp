// "HRDOC320": a supplementary agreement on the transfer of an employee to a position with its pay
// grade and salary, one sheet per employee of the department.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "db/database.h"
#include "host/compark.h"
#include "host/compark_text.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "reports/agreements/agreement_common.h"
#include "text/date.h"
#include "text/strings.h"

namespace hrdoc {
namespace {

using namespace agreements;

// Like the salary agreement's, with the grade and without the payroll month; transfers and hires
// only.
constexpr const char* kQryT2 =
    R"(select ob.CONTRACTN as CONN,ob.CONTRACTDATE as CONDT,adr.SER,adr.NUM,adr.ORG,adr.FDVD, ob.KREGP,ob.KRAIP,ob.KGORP/*,ob.DTR*/,kpn.fname,dvg.OKL,dvg.NMDS as DOLN,dvg.STV, adr.fdr as DTR,dvg.RZ from otzkpn kpn left join zpads1 adr on adr.KP=kpn.KP left join kdt2iob ob on kpn.KP=ob.KP left join kdt2iiidvg dvg on dvg.KP=ob.KP and dvg.dto=(     select max(dvg1.dto)     from kdt2iiidvg dvg1     left join KDSDJS js on js.UNSD=dvg1.UNSD     left join KDSDJZ jz on jz.UND=js.UND     where dvg1.KP=ob.KP and dvg1.kp=:IDKBU1 and (jz.KTD=21 or jz.KTD=22) and dvg1.DTO<=:DTO ) where kpn.kp=:IDKBU)";

// The words of the money text before its ruble word: "Сорок одна тысяча шестьсот".
std::string words_before_rubles(double amount) {
  const std::string words = text::amount_in_words(std::round(amount));
  // The money text writes its "many" noun with a Latin "p".
  const size_t ruble = std::min(words.find("рубл"), words.find("pубл"));
  return text::trim(ruble == std::string::npos ? words : words.substr(0, ruble));
}

std::string number_text(double v) { return std::to_string(std::llround(v)); }

class Tfmhrd320 : public TReportWindow {
 public:
  Tfmhrd320() {
    Fields = {ui::date_field("edDTOPr", "Дата вступления в действие"),
              ui::text_field("edOsnPr", "Руководитель действует на основании"),
              ui::date_field("edDtDov", "Дата доверенности"), ui::text_field("edNumDov", "Номер доверенности")};
    WorkingCaption = "Идет печать документа. Пожалуйста подождите...";
  }

  std::string CheckEntries() override {
    if (c_p->D == 0) return "Не указано текущее число!";
    if (c_p->KP == 0) return "Не указано подразделение";
    if (!DateOf("edDTOPr")) return "Не указана дата вступления в действие!";
    if (text::trim(Text("edNumDov")).empty()) return "Не указан номер доверенности!";
    if (!DateOf("edDtDov")) return "Не указана дата доверенности!";
    return {};
  }

  void Job() override {
    AgreementBook book;
    if (!book.Open(*this, "hrdoc320")) return;
    ui::ProgressBar& pb = pbM;
    const TDateTime LSFD = text::first_day_of_month(*DateOf("edDTOPr"));

    const Employer employer = read_employer(*c_p, *dm, LSFD);
    const std::vector<EmployeeRow> employees = read_employees(*dm, c_p->KP, LSFD);
    pb.set_max(static_cast<int>(employees.size()));

    db::Query qryT2(*dm->ADOConnection);
    qryT2.sql(kQryT2);
    for (const EmployeeRow& e : employees) {
      const Contract k = read_contract(qryT2, e.kp, c_p->D);
      lbM.set_caption("Печать данных: " + k.FNAME);
      if (k.eligible()) Fill(book, e, k, qryT2.field("RZ").as_string(), employer);
      pb.step_it();
    }
    book.Finish(*this);
  }

 private:
  void Fill(AgreementBook& book, const EmployeeRow& e, const Contract& k, const std::string& RZ,
            const Employer& employer) {
    const text::Ymd d = text::decode_date(c_p->D);
    const std::string effective = date_words(*DateOf("edDTOPr"), true);
    const text::Ymd eff = text::decode_date(*DateOf("edDTOPr"));
    char day[8], effective_day[8];
    std::snprintf(day, sizeof day, "%02d", int{d.day});
    std::snprintf(effective_day, sizeof effective_day, "%02d", int{eff.day});

    book.NewSheet();
    book.Text(3, 1, contract_reference(k));
    book.Text(4, 76, day);
    book.Text(4, 84, month_word(d.month));
    book.Number(4, 94, d.year);
    book.Text(7, 45, Text("edNumDov"));
    book.Text(7, 59, Text("edDtDov"));
    book.Text(8, 1,
              "«Работодатель», с одной стороны и " + k.FNAME + ", " + k.DOLN + ", именуемый" +
                  " в дальнейшем  «Работник», с другой стороны, заключили настоящее" + " соглашение о нижеследующем:");
    // The name line: the surname, then name and patronymic.
    const size_t blank = k.FNAME.find(' ');
    book.Text(8, 35, k.FNAME.substr(0, blank));
    if (blank != std::string::npos) book.Text(9, 1, text::trim(k.FNAME.substr(blank + 1)));
    book.Text(12, 1,
              "1. Работник с " + effective + " года переводится, по его заявлению, на должность «" + k.DOLN +
                  "» Перевалочного комплекса «Приречье» ОАО «Заречтрубопровод» по « " + RZ +
                  " » разряду оплаты труда « " + number_text(k.OKL) + " » рублей  ( " + words_before_rubles(k.OKL) +
                  " рублей) в месяц.");
    book.Text(15, 1,
              "2. Работник обязан качественно и своевременно выполнять трудовые обязанности, изложенные в должностной "
              "инструкции «" +
                  k.DOLN + "» Перевалочного комплекса «Приречье» ОАО «Заречтрубопровод».");
    book.Text(18, 1,
              "3. Настоящее соглашение вступает в силу " + effective +
                  " года и действует в рамках действующего трудового законодательства  Российской Федерации.");
    book.Text(24, 1, Requisites(employer));
    book.Text(24, 73, Requisites(e.address, k));
    book.Text(25, 102, k.DOLN);
    book.Text(26, 73, short_name(k.FNAME));
    book.Text(28, 2,
              "Экземпляр соглашения получил                               " + std::string(" « ") + effective_day +
                  " » " + month_word(eff.month) + " " + std::to_string(eff.year) + " года");
  }

  static std::string Requisites(const Employer& e) {
    return join({e.IND, e.region, e.GOROD, "ОАО «Заречные магистральные трубопроводы»", labelled("ИНН ", e.INN),
                 labelled("КПП ", e.KPP), labelled("Код ОКПО ", e.OKPO), labelled("ОКОНХ ", e.OKONH)});
  }

  static std::string Requisites(const Address& a, const Contract& k) {
    std::string t = "Адрес места жительства \n" + join({a.REGN, a.RAI, a.GOR, a.NAS, a.ULNAME, a.DOM, a.KORP, a.KV});
    const std::string passport = join({join({k.SER, k.NUM.empty() ? std::string() : "№" + k.NUM}, " "), k.ORG});
    if (!passport.empty()) t += ",\nПаспорт\n" + passport;
    if (k.FDVD) t += "\nДата выдачи " + text::date_text(*k.FDVD);
    if (const std::string place = join({k.KREGP, k.KRAIP, k.KGORP}); !place.empty()) t += "\nМесто рождения " + place;
    if (k.DTR) t += "\nДата рождения " + text::date_text(*k.DTR);
    return t;
  }
};

const bool statements = register_statements("HRDOC320", {{"qryT2", kQryT2}});
const bool registered = register_report<Tfmhrd320, "HRDOC320">();

}  // namespace
}  // namespace hrdoc
