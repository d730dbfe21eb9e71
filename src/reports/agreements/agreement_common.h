#pragma once
// What the supplementary agreements share: the statements of the salary agreement that the
// others reuse, the month words, the short name, the contract reference, the requisites of both
// parties, the signatory of agreements kept in SPCONST, and the book of one sheet per agreement.
//
// A sheet agreement is written like this:
//
//   AgreementBook book;
//   if (!book.Open(*this, "hrdoc260")) return;
//   Employer employer = read_employer(*c_p, *dm, LSFD);
//   for (const EmployeeRow& e : read_employees(*dm, c_p->KP, LSFD)) {
//     Contract k = read_contract(qryT2, e.kp, D, fd);
//     if (k.eligible()) { book.NewSheet(); book.Text(3, 1, contract_reference(k)); ... }
//     pb.step_it();
//   }
//   book.Finish(*this);

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/compark.h"
#include "office/classexl.h"

class Tdm;

namespace hrdoc {
class TReportWindow;
namespace db {
class Query;
}
}  // namespace hrdoc

namespace hrdoc::agreements {

// The enterprise's passport with its head (P = 1), as of LSFD.
inline constexpr const char* kQryPasp =
    R"(select kpn.FNAME as FIONASH,kd.N as DOLN, kpn.SNAME as SFIONASH,(case when (kpnow1.OWNER=1) then kpnow1.SNAME else kpnow.SNAME end) as NMOWNER, p.IND,p.KODREG,p.GOROD,p.N,p.INN,p1.KPP,p1.OKPO,p1.OKONH,p.NASP,p.DOM from ZPPASP p left join ZPPASP1 p1 on p1.P=p.P left join OTZKPN kpn on kpn.KP=p.NASH left join ZPLSDT ls on ls.KP=p.NASH and ls.FD=(select max(ls1.FD) from ZPLSDT ls1 where ls1.KP=p.NASH and ls1.FD<=:LSFD) left join ZPKD kd on kd.D=ls.DOL left join OTZKPN kpnow on kpnow.KP=kpn.OWNER left join OTZKPN kpnow1 on kpnow1.KP=kpnow.OWNER where p.P=1)";

// The employees of department KP and of two levels of units below it, at work as of LSFD.
inline constexpr const char* kQrySelect =
    R"(select coalesce(kpn2.KP,kpn1.KP,kpn.KP) as KP, (case when (kpnow1.OWNER=1) then kpnow1.FNAME else kpnow.FNAME end) as NMOWNER, adr.REGN,adr.RAI,adr.GOR,adr.NAS,adr.ULNAME,adr.DOM,adr.KORP,adr.KV,ads.SER,ads.NUM,ads.FDVD,ads.ORG from OTZKPN kpn left join OTZKPN kpn1 on kpn1.OWNER=kpn.KP left join OTZKPN kpn2 on kpn2.OWNER=kpn1.KP left join OTZKPN kpnow on kpnow.KP=coalesce(kpn2.OWNER,kpn1.OWNER,kpn.OWNER) left join OTZKPN kpnow1 on kpnow1.KP=kpnow.OWNER left join ZPLSDT ls on ls.KP=coalesce(kpn2.KP,kpn1.KP,kpn.KP) and ls.FD= (select max(ls1.FD) from ZPLSDT ls1 where ls1.KP=coalesce(kpn2.KP,kpn1.KP,kpn.KP) and ls1.FD<=:LSFD) left join ZPADRES adr on adr.KP=coalesce(kpn2.KP,kpn1.KP,kpn.KP) left join ZPADS1 ads on ads.KP=adr.KP where kpn.OWNER=:KP and coalesce(kpn2.TN,kpn1.TN,kpn.TN)>0 and ls.UW=0)";

// One employee's contract, passport, place of birth and the salary, position and rate of the
// latest record made by an order of type 21, 22 or 26 on or before DTO.
inline constexpr const char* kQryT2 =
    R"(select ob.CONTRACTN as CONN,ob.CONTRACTDATE as CONDT,adr.SER,adr.NUM,adr.ORG,adr.FDVD, ob.KREGP,ob.KRAIP,ob.KGORP/*,ob.DTR*/,kpn.fname,dvg.OKL,dvg.NMDS as DOLN,dvg.STV, adr.fdr as DTR,ls.okl as LSOKL from otzkpn kpn left join zpads1 adr on adr.KP=kpn.KP left join kdt2iob ob on kpn.KP=ob.KP left join zpls ls on ls.KP=ob.KP and ls.fd=:fd left join kdt2iiidvg dvg on dvg.KP=ob.KP and dvg.dto=(     select max(dvg1.dto)     from kdt2iiidvg dvg1     left join KDSDJS js on js.UNSD=dvg1.UNSD     left join KDSDJZ jz on jz.UND=js.UND     where dvg1.KP=ob.KP and dvg1.kp=:IDKBU1 and (jz.KTD=21 or jz.KTD=22 or jz.KTD=26) and dvg1.DTO<=:DTO ) where kpn.kp=:IDKBU)";

// The full name of a person (the head of the personnel department).
inline constexpr const char* kQryPerson = R"(select fname from otzkpn where kp=:KP)";

// A settings row.
inline constexpr const char* kQryConst = R"(select CNST from SPCONST where IDCONST=:IDCONST)";

// The genitive month word in lower case ("января"); empty outside 1..12.
std::string month_word(int month);

// A date in words: day, month word, year ("5 января 2027"); the day as two digits ("05 января
// 2027") when asked.
std::string date_words(TDateTime d, bool two_digit_day = false);

// The first letters of name and patronymic, each with a dot, then the surname with only its
// first letter as given: ("ИВАНОВ", "ИВАН", "ПЕТРОВИЧ") gives "И.П.Иванов". Words are trimmed; an
// empty word is left out with its dot.
std::string short_name(std::string_view surname, std::string_view name, std::string_view patronymic);
// The same from a full name, split at blanks into surname, name and patronymic.
std::string short_name(std::string_view full_name);

// label + value, or nothing for an empty value: "ИНН " + INN, "кв. " + KV.
std::string labelled(const char* label, const std::string& value);

// The non-empty parts (trimmed) joined by sep.
std::string join(std::initializer_list<std::string> parts, std::string_view sep = ", ");

// The employer (qryPasp).
struct Employer {
  std::string head_name, head_position;  // FIONASH, DOLN
  std::string IND, region, GOROD, N, INN, KPP, OKPO, OKONH, NASP, DOM;
};
// Reads qryPasp as of LSFD; the region name comes from the classifier (nothing for an unknown
// code). An empty employer when the passport row is missing.
Employer read_employer(const compark& ctx, Tdm& dm, TDateTime LSFD);

// Index, region, city, name, " ИНН ", " КПП ", " Код ОКПО ", " ОКОНХ ", then the address: the
// parts that are not empty, joined by ", ".
std::string employer_requisites(const Employer& e);

// The registered address of an employee (ZPADRES).
struct Address {
  std::string REGN, RAI, GOR, NAS, ULNAME, DOM, KORP, KV;
};

// One row of qrySelect.
struct EmployeeRow {
  int kp = 0;
  std::string unit;  // NMOWNER
  Address address;
};
// The employees of department kp as of LSFD, in the statement's order.
std::vector<EmployeeRow> read_employees(Tdm& dm, int kp, TDateTime LSFD);

// One employee's row of a qryT2 statement.
struct Contract {
  std::string CONN;
  std::optional<TDateTime> CONDT;
  std::string SER, NUM, ORG;
  std::optional<TDateTime> FDVD;
  std::string KREGP, KRAIP, KGORP;
  std::string FNAME;
  double OKL = 0, STV = 0;
  std::string DOLN;
  std::optional<TDateTime> DTR;
  // Only a salary and a rate of a personnel order make an agreement.
  bool eligible() const { return OKL != 0 && STV != 0; }
};
// Opens q (a qryT2 statement already given its text) for employee kp as of DTO, with the payroll
// month fd when the statement has one, and reads its row; an empty contract when there is none.
Contract read_contract(db::Query& q, int kp, TDateTime DTO, std::optional<TDateTime> fd = std::nullopt);

// "№ " + number + " от " + the contract date in words + " года"; empty without a number.
std::string contract_reference(const Contract& c);

// The employee's requisites of the salary agreement: the registered address, the passport, its
// issue date, the place and the date of birth, each heading on a line of its own.
std::string employee_requisites(const Address& a, const Contract& c);

// The signatory of agreements from SPCONST: 'DOPSOGLDOL' and 'DOPSOGLFIO' (genitive, as stored).
struct AgreementSignatory {
  std::string position, name;
};
AgreementSignatory read_signatory(Tdm& dm);

// The full name of a person by key; empty when there is none.
std::string person_name(Tdm& dm, int kp);

// A whole amount in words with the ruble noun: 41600 gives "сорок одна тысяча шестьсот рублей".
std::string rubles_in_words(double amount);

// The book of agreements: the template on sheet 1, one copy per agreement behind the last, the
// template sheet dropped at the end.
class AgreementBook {
 public:
  // Opens the template's work copy cell by cell; false (the user told why) when it cannot.
  bool Open(TReportWindow& window, const std::string& code);
  // A new agreement: a copy of the template sheet behind the last, selected.
  void NewSheet();
  // Writes into the current agreement; an empty text writes nothing.
  void Text(int row, int col, const std::string& text);
  void Number(int row, int col, double value);
  int Agreements() const { return agreements_; }
  // Drops the template sheet and shows the book. Without any agreement there is no document:
  // the information "Нет сотрудников для печати доп. соглашений".
  void Finish(TReportWindow& window);

  office::TExcelShablon& Workbook() { return book_; }

 private:
  office::TExcelShablon book_;
  office::TServerImp* server_ = nullptr;
  int agreements_ = 0;
};

}  // namespace hrdoc::agreements
