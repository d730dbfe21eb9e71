// "HRDOC180": the staff of each department by category (managers, specialists, workers), with
// higher and with secondary education by category, men and women; the total and the signatures.
#include <array>
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "reports/statistics/filled_report.h"
#include "host/statements.h"
#include "host/udm.h"
#include "host/uosrv250.h"
#include "office/classexl.h"
#include "reports/statistics/education_forms.h"
#include "text/date.h"
#include "text/strings.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kQryKpn = R"(SELECT ((case when s2.sname is NULL then '' else s2.sname end)
       ||(case when s3.sname is NULL then '' else s3.sname end)
       ||(case when s4.sname is NULL then '' else s4.sname end)
       ||(case when s1.sname is NULL then '' else s1.sname end)) as srt,

       dvg.owner , count(dvg.owner) as TOTAL

      , cast(sum( case when dvg.kat=1 then 1 else 0 end ) as integer) as CHIEF
      , cast(sum( case when dvg.kat=2 then 1 else 0 end ) as integer) as SPECIAL
      , cast(sum( case when dvg.kat=4 then 1 else 0 end ) as integer) as WORKER

      , cast(sum( case when obr.kobr=1 then 1 else 0 end ) as integer) as HIGHTOTAL
      , cast(sum( case when dvg.kat=1 and obr.kobr=1 then 1 else 0 end ) as integer) as HIGHCHIEF
      , cast(sum( case when dvg.kat=2 and obr.kobr=1 then 1 else 0 end ) as integer) as HIGHSPEC
      , cast(sum( case when dvg.kat=4 and obr.kobr=1 then 1 else 0 end ) as integer) as HIGHWORKER

      , cast(sum( case when (OBR.KOBR=2 or OBR.KOBR=3 or OBR.KOBR=4 or OBR.KOBR=28) then 1 else 0 end ) as integer) as AVERTOTAL
      , cast(sum( case when dvg.kat=1 and (OBR.KOBR=2 or OBR.KOBR=3 or OBR.KOBR=4 or OBR.KOBR=28) then 1 else 0 end ) as integer) as AVERCHIEF
      , cast(sum( case when dvg.kat=2 and (OBR.KOBR=2 or OBR.KOBR=3 or OBR.KOBR=4 or OBR.KOBR=28) then 1 else 0 end ) as integer) as AVERSPEC
      , cast(sum( case when dvg.kat=4 and (OBR.KOBR=2 or OBR.KOBR=3 or OBR.KOBR=4 or OBR.KOBR=28) then 1 else 0 end ) as integer) as AVERWORKER

      , cast(sum( case when ads1.pol<>'Ж' then 1 else 0 end ) as integer) as MAN
      , cast(sum( case when ads1.pol='Ж' then 1 else 0 end ) as integer) as WOMAN

FROM kdt2iiidvg dvg
        left join otzkpn s1 on s1.kp=dvg.owner
        left join otzruc ruc on ruc.owner=dvg.owner
        left join  zpads1 ads1 on ads1.kp=dvg.kp
        left join otzkpn s2 on s2.kp=ruc.ow1
        left join otzkpn s3 on s3.kp=ruc.ow2
        left join otzkpn s4 on s4.kp=ruc.ow3
        left join  kdt2iobr obr on obr.kp=dvg.kp

                        and OBR.DTK IS NOT NULL AND OBR.DTK=
                                    (SELECT distinct MAX(DTK)
                                       FROM kdt2iobr OBR1
                                            WHERE OBR1.KP=dvg.kp AND OBR1.DTK IS NOT NULL
                                    )



 where dvg.dto=
            (select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=dvg.kp and t2dvg.dto<=:fd)
            and dvg.ktd!=121 and dvg.ktpd=1 and dvg.okl>0 and dvg.stv>0 and dvg.ktpd=1
            and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
            or ruc.ow6=:ow6 or ruc.ow7=:ow7 or dvg.owner=:ow or 0=:md)

group by 1,dvg.owner
order by  1)";

// The line's fields, the total's fields and the statement's columns, in the same order.
struct Column {
  const char *line, *total, *column;
};
constexpr std::array<Column, 14> kColumns = {{{"fvsego", "fvvsego", "TOTAL"},
                                              {"fruk", "fvruk", "CHIEF"},
                                              {"fspec", "fvspec", "SPECIAL"},
                                              {"frab", "fvrab", "WORKER"},
                                              {"fvsego1", "fvvsego1", "HIGHTOTAL"},
                                              {"fruk1", "fvruk1", "HIGHCHIEF"},
                                              {"fspec1", "fvspec1", "HIGHSPEC"},
                                              {"frab1", "fvrab1", "HIGHWORKER"},
                                              {"fvsego2", "fvvsego2", "AVERTOTAL"},
                                              {"fruk2", "fvruk2", "AVERCHIEF"},
                                              {"fspec2", "fvspec2", "AVERSPEC"},
                                              {"frab2", "fvrab2", "AVERWORKER"},
                                              {"fm", "fvm", "MAN"},
                                              {"fw", "fvw", "WOMAN"}}};

// The department's caption: its second unit's short name, and ":" with the third unit's when
// there is one.
std::string OwnName(compark& ctx, int64_t owner) {
  skpw record;
  ctx.f_skpw(static_cast<uint16_t>(owner), ctx.payroll_month, &record);
  std::string name = record.second_sname;
  if (!text::trim(record.third_sname).empty()) name += ":" + record.third_sname;
  return std::string(text::first_characters(name, 100));  // the field holds 100 characters
}

class Tfmhrd180 : public TFilledReport {
 public:
  Tfmhrd180() : TFilledReport("hrdoc180", "Подготовка информации", Errors::silent) {
    Caption = "Численность специалистов в отрасли с высшим и средним образованием";
  }

 private:
  void Fill(TExcelShablon& w) override {
    const TDateTime D = c_p->D;
    skpw record;
    c_p->f_skpw(static_cast<uint16_t>(c_p->KP), c_p->payroll_month, &record);
    const std::string blanks(10, ' ');
    w.SetField("ppH", "f1", "СВЕДЕНИЯ");
    w.SetField("ppH", "f2", "о численности работающих в отрасли специалистов");
    w.SetField("ppH", "f3", "с высшим и средним образованием на " + text::date_text(D) + " года");
    w.SetField("ppH", "fown", blanks + GetPathSkpw(record) + blanks);
    w.SetField("ppH", "fdatatime", PrintTime());

    db::Query qryKpn(*dm->ADOConnection);
    qryKpn.sql(kQryKpn);
    qryKpn.set_date("fd", D);
    BindDepartment(qryKpn, c_p->KP);
    qryKpn.open();
    pbM.set_max(qryKpn.record_count());

    std::array<int, kColumns.size()> totals{};
    for (qryKpn.first(); !qryKpn.eof(); qryKpn.next()) {
      w.ClearPart("ppP");
      w.SetField("ppP", "fnown", OwnName(*c_p, qryKpn.field("OWNER").as_int()));
      for (size_t i = 0; i < kColumns.size(); ++i) {
        const auto n = static_cast<int32_t>(qryKpn.field(kColumns[i].column).as_int());
        w.SetField("ppP", kColumns[i].line, n);
        totals[i] += n;
      }
      w.AddPart("ppP", 0);
      pbM.step_it();
    }

    w.ClearPart("ppR");
    w.SetField("ppR", "f4", "   Всего");
    for (size_t i = 0; i < kColumns.size(); ++i) w.SetField("ppR", kColumns[i].total, static_cast<int32_t>(totals[i]));
    w.AddPart("ppR", 0);
    w.FitOutputRows();
    PutSignatures(w, *dm, *c_p);
  }
};

const bool statements = register_statements("HRDOC180", {{"qryKpn", kQryKpn}});
const bool registered = register_report<Tfmhrd180, "HRDOC180">();

}  // namespace
}  // namespace hrdoc
