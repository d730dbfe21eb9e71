// "HRDOC260": a supplementary agreement on the new salary after an indexation order, one sheet
// per employee of the department.
#include <cmath>
#include <optional>
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "host/report_window.h"
#include "host/udm.h"
#include "reports/agreements/agreement_common.h"
#include "text/date.h"

namespace hrdoc {
namespace {

using namespace agreements;

class Tfmhrd260 : public TReportWindow {
 public:
  Tfmhrd260() {
    const std::string group = "Приказ об индексации";
    Fields = {ui::date_field("edDTOPr", "Дата выписки"), ui::date_field("edDTVPr", "Дата вступления в действие"),
              ui::text_field("edNumPr", "Номер"), ui::text_field("edOsnPr", "Руководитель действует на основании")};
    for (auto& f : Fields) f.group = group;
    WorkingCaption = "Идет печать документа. Пожалуйста подождите...";
  }

  std::string CheckEntries() override {
    if (c_p->D == 0) return "Не указано текущее число!";
    if (c_p->KP == 0) return "Не указано подразделение";
    if (!DateOf("edDTOPr")) return "Не указана дата выписки приказа об индексации!";
    if (!DateOf("edDTVPr")) return "Не указана дата вступление в действие приказа об индексации!";
    return {};
  }

  void Job() override {
    AgreementBook book;
    if (!book.Open(*this, "hrdoc260")) return;
    ui::ProgressBar& pb = pbM;
    const TDateTime D = c_p->D, order = *DateOf("edDTOPr");

    const Employer employer = read_employer(*c_p, *dm, order);
    const std::string head = short_name(person_name(*dm, c_p->NACHOK));
    const AgreementSignatory signatory = read_signatory(*dm);
    const std::vector<EmployeeRow> employees = read_employees(*dm, c_p->KP, order);
    pb.set_max(static_cast<int>(employees.size()));

    db::Query qryT2(*dm->ADOConnection);
    qryT2.sql(kQryT2);
    for (const EmployeeRow& e : employees) {
      const Contract k = read_contract(qryT2, e.kp, D, text::first_day_of_month(D));
      lbM.set_caption("Печать данных: " + k.FNAME);
      if (k.eligible()) Fill(book, e, k, employer, signatory, head);
      pb.step_it();
    }
    book.Finish(*this);
  }

 private:
  void Fill(AgreementBook& book, const EmployeeRow& e, const Contract& k, const Employer& employer,
            const AgreementSignatory& signatory, const std::string& head) {
    const TDateTime D = c_p->D, order = *DateOf("edDTOPr");
    const text::Ymd d = text::decode_date(D), o = text::decode_date(order);
    const std::string reference = contract_reference(k);
    const std::string employee = short_name(k.FNAME);

    book.NewSheet();
    book.Text(3, 1, reference);
    book.Number(4, 76, d.day);
    book.Text(4, 84, month_word(d.month));
    book.Number(4, 94, d.year);
    book.Text(5, 1,
              "     Открытое акционерное общество  «ЗАРЕЧНЫЕ  МАГИСТРАЛЬНЫЕ ТРУБОПРОВОДЫ», в дальнейшем \"Работодатель\", "
              "в лице " +
                  signatory.position + " " + signatory.name + "," + " действующего на основании " + Text("edOsnPr") +
                  ", с одной стороны  и " + k.FNAME + ", " + k.DOLN + " " + e.unit +
                  " ОАО «Заречтрубопровод», именуемый" +
                  " в дальнейшем  «Работник», с другой стороны, далее вместе именуемые «Стороны», заключили настоящее" +
                  " дополнительное соглашение о нижеследующем:");
    book.Text(12, 66, reference);
    book.Text(14, 74, Text("edDTVPr"));
    book.Text(14, 88, Text("edNumPr"));
    book.Number(15, 15, o.day);
    book.Text(15, 23, month_word(o.month));
    book.Number(15, 34, o.year);
    book.Number(15, 79, static_cast<double>(std::llround(k.OKL)));
    book.Text(16, 1, "(" + rubles_in_words(k.OKL) + ") в месяц.");
    book.Number(17, 61, d.day);
    book.Text(17, 71, month_word(d.month));
    book.Number(17, 82, d.year);
    if (!reference.empty()) book.Text(19, 1, reference + ".");
    book.Text(24, 1, employer_requisites(employer));
    book.Text(24, 73, employee_requisites(e.address, k));
    book.Text(25, 1, employer.N);
    book.Text(26, 1, short_name(signatory.name));
    book.Text(26, 73, employee);
    book.Text(30, 73, head);
    if (!employee.empty()) book.Text(33, 30, "(" + employee + ")");
  }
};

const bool registered = register_report<Tfmhrd260, "HRDOC260">();

}  // namespace
}  // namespace hrdoc
