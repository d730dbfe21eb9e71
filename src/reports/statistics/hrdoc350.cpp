// "HRDOC350": part-time employment and movement of the staff (form П-4 (НЗ)) at the workplaces of
// one enterprise code: eleven counts with their name lists, in the heading of the form.
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "db/database.h"
#include "host/compark.h"
#include "host/kwdlg_choice.h"
#include "reports/statistics/filled_report.h"
#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "text/date.h"
#include "text/strings.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kQryNepol = R"(select kpn.tn,kpn.fname
from kdt2mst mst
left join otzkpn kpn on kpn.kp=mst.kp
left join otzmstn msn on msn.mst=mst.kod
left join kdt2iiidvg dvg on dvg.unsd=(select first 1 g1.unsd
        from kdt2iiidvg g1
        where g1.kp=mst.kp and g1.dto<=:DT and (g1.ktd=51 or g1.ktd between 21 and 27) 
        order by g1.dto desc,g1.unsd desc)
where msn.okpo=:OKPO and mst.dtn<=:DT2 and (mst.dtk is null or mst.dtk>=:DT1) and dvg.unsd is not null and dvg.okl>0 and dvg.stv<1 and dvg.kvr<>2)";

constexpr const char* kQryBezSoh = R"(select kpn.tn,kpn.fname
from kdt2mst mst
left join otzkpn kpn on kpn.kp=mst.kp
left join otzmstn msn on msn.mst=mst.kod
left join kdt2iiidvg dvg on dvg.unsd=(select first 1 g1.unsd
        from kdt2iiidvg g1
        where g1.kp=mst.kp and g1.dto<=:DT and (g1.ktd=51 or g1.ktd between 21 and 27) 
        order by g1.dto desc,g1.unsd desc)
where msn.okpo=:OKPO and mst.dtn<=:DT2 and (mst.dtk is null or mst.dtk>=:DT1) and dvg.unsd is not null and dvg.okl>0 and dvg.kvr<>2
and 0<(select count(*)
        from kdt2viiio ot
        where ot.kp=mst.kp and ot.kvot=5 and ((ot.dto>=:DT11 and ot.dto<=:DT21) or (ot.dko>=:DT12 and ot.dko<=:DT22)) and ((ot.dto>=mst.dtn and (ot.dto<=mst.dtk or mst.dtk is null)) or (ot.dko>=mst.dtn and (ot.dko<=mst.dtk or mst.dtk is null)))))";

constexpr const char* kQryPrSpis = R"(select kpn.tn,kpn.fname
from kdt2iiidvg dvg
left join otzkpn kpn on kpn.kp=dvg.kp
where dvg.kp=dvg.kp and dvg.stv>0 and dvg.okl>0 and dvg.kvr<>2
and (dvg.ktd=21 or dvg.ktd=23) and dvg.dto>=:DT1 and dvg.dto<=:DT2
and (select first 1 mst.unsd
    from kdt2mst mst
    left join otzmstn msn on msn.mst=mst.kod
    where mst.kp=dvg.kp and msn.okpo=:OKPO
    and mst.dtn<=:DT21 and (mst.dtk is null or mst.dtk>=dvg.dto)
    ) is not null)";

constexpr const char* kQryUwSpis = R"(select kpn.tn,kpn.fname,osd.nosd
from kdt2iiidvg dvg
left join otzkpn kpn on kpn.kp=dvg.kp
left join kdosd osd on osd.kosd=dvg.kosd and osd.ktd=121
where dvg.kp=dvg.kp and dvg.stv>0 and dvg.okl>0  and dvg.kvr<>2
and dvg.ktd between 121 and 123 and dvg.dto>=:DT1 and dvg.dto<=:DT2
and (select first 1 mst.unsd
    from kdt2mst mst
    left join otzmstn msn on msn.mst=mst.kod
    where mst.kp=dvg.kp and msn.okpo=:OKPO
    and mst.dtn<=dvg.dto and (mst.dtk is null or mst.dtk>=:DT11)
    ) is not null)";

constexpr const char* kQryLst2 = R"(select kpn.tn,kpn.fname
from kdt2iiidvg dvg1
left join otzkpn kpn on kpn.kp=dvg1.kp
where (dvg1.ktd=51 or dvg1.ktd between 21 and 27) and dvg1.unsd=(select first 1 dvg.unsd
    from kdt2iiidvg dvg
    where dvg.kp=dvg1.kp and dvg.kat in (1,2,3,4) and dvg.stv>0 and dvg.okl>0 and dvg.kvr<>2
    and dvg.dto<=:DT2
    order by dvg.dto desc)
and (select first 1 mst.unsd
    from kdt2mst mst
    left join otzmstn msn on msn.mst=mst.kod
    where mst.kp=dvg1.kp and msn.okpo=:OKPO
    and mst.dtn<=:DT21 and (mst.dtk is null or mst.dtk>=:DT22)) is not null)";

constexpr const char* kQryVremSez = R"(select kpn.tn,kpn.fname
from kdt2iiidvg dvg1
left join otzkpn kpn on kpn.kp=dvg1.kp
where (dvg1.ktd=51 or dvg1.ktd between 21 and 27) and dvg1.unsd=(select first 1 dvg.unsd
    from kdt2iiidvg dvg
    where dvg.kp=dvg1.kp and dvg.kat in (1,2,3,4) and dvg.stv>0 and dvg.okl>0 and dvg.kvr<>2
    and dvg.dto<=:DT2
    order by dvg.dto desc)
and (select first 1 mst.unsd
    from kdt2mst mst
    left join otzmstn msn on msn.mst=mst.kod
    where mst.kp=dvg1.kp and msn.okpo=:OKPO and mst.VREM=1
    and mst.dtn<=:DT21 and (mst.dtk is null or mst.dtk>=:DT22)) is not null)";

constexpr const char* kQryPmuz = R"(select kpn.tn,kpn.fname,kpr1.ot
from zpkpr kpr1
left join otzkpn kpn on kpn.kp=kpr1.kp
left join zpads1 ads1 on ads1.kp=kpr1.kp
where kpr1.vid=1 and kpr1.fd1<=:DT23 and kpr1.fd2>=:DT24 and (kpr1.ot=16 or kpr1.ot=17) and ads1.pol='Ж'
and (select first 1 mst.unsd
    from kdt2mst mst
    left join otzmstn msn on msn.mst=mst.kod
    where mst.kp=kpr1.kp and msn.okpo=:OKPO
    and mst.dtn<=:DT21 and (mst.dtk is null or mst.dtk>=:DT22)) is not null)";

// A cell holds 32 767 characters: a longer list ends with "…" there; its count stays whole.
constexpr size_t kCellCharacters = 32767;

// Groups 4 to 7: a dismissal's ground decides at most one group besides 4.
int DismissalGroup(const std::string& nosd) {
  const std::string g = text::upper(nosd);
  auto has = [&g](const char* a, const char* b) {
    return g.find(a) != std::string::npos && g.find(b) != std::string::npos;
  };
  if (has("СОГЛАШЕН", "СТОР")) return 5;
  if (has("СОКРАЩЕН", "ЧИСЛЕН")) return 6;
  if (has("ИНИЦИАТ", "РАБОТН")) return 7;
  return 0;
}

// The list cut to the characters a cell holds.
std::string CellText(const std::string& list) {
  if (text::first_characters(list, kCellCharacters).size() == list.size()) return list;
  return std::string(text::first_characters(list, kCellCharacters - 1)) + "…";
}

class Tfmhrd350 : public TFilledReport {
 public:
  Tfmhrd350() : TFilledReport("HRDOC350", "Подготовка информации", Errors::shown) {
    Caption = "Сведения о неполной занятости и движении работников";
    Fields = {ui::lookup_field("eMst", "Выберите ОКПО нужных мест работы",
                               [this](ui::Field& self, ui::Form&) { return btnMstClick(self); })};
    Buttons = {{"bnStart", "Сформировать", false, false, true}, {"btnCancel", "Отмена", true}};
  }

 private:
  // The workplaces chosen in KWDLG: their names for the heading, their code into the entry.
  bool btnMstClick(ui::Field& eMst) {
    kwdlg::WorkplaceChoice block;
    std::snprintf(block.okpo, sizeof block.okpo, "%s", eMst.value.c_str());
    if (c_p->l_call("KWDLG", "KWDLG190L", &block) != 0 || block.answer != 0) return false;
    W = block.places;
    eMst.value = block.okpo;
    return true;
  }

  struct Group {
    int count = 0;
    std::string list;
    void add(const db::Query& row) {
      ++count;
      list += row.field("FNAME").as_string() + " TN=" + row.field("TN").as_string() + ";";
    }
  };

  void Fill(TExcelShablon& w) override {
    const TDateTime D = c_p->D, D1 = c_p->D1, D2 = c_p->D2;
    const std::string okpo = Text("eMst");
    w.SetField("ppH", "fnmst", W + " c " + text::date_text(D1) + " по " + text::date_text(D2));
    pbM.set_max(7);

    std::array<Group, 12> g;  // 1 .. 11
    db::Query q(*dm->ADOConnection);
    auto put = [&](int i) {
      w.SetField("ppH", "f" + std::to_string(i), static_cast<int32_t>(g[i].count));
      w.SetField("ppH", "ftst" + std::to_string(i), CellText(g[i].list));
      // The list's row grows with it, as far as a row can.
      for (const auto& f : w.FindPart("ppH")->fields)
        if (text::upper(f.name) == "FTST" + std::to_string(i)) w.GetApplication()->AutoFitRows(f.row, f.row, 0);
    };
    // Runs one statement for the department set and the code; each row goes to `to`, then the
    // groups `first` .. `last` are written.
    auto run = [&](const char* sql, const char* column, std::initializer_list<std::pair<const char*, TDateTime>> dates,
                   int first, int last, auto&& to) {
      q.close();
      q.sql(sql + c_p->GetKpSewForWhere(column));
      for (const auto& [name, date] : dates) q.set_date(name, date);
      q.set("OKPO", okpo);
      q.open();
      for (q.first(); !q.eof(); q.next()) to();
      for (int i = first; i <= last; ++i) put(i);
      pbM.step_it();
    };
    run(kQryNepol, "mst.KP", {{"DT1", D1}, {"DT2", D2}, {"DT", D}}, 1, 1, [&] { g[1].add(q); });
    run(kQryBezSoh, "mst.KP",
        {{"DT1", D1}, {"DT11", D1}, {"DT12", D1}, {"DT2", D2}, {"DT21", D2}, {"DT22", D2}, {"DT", D2}}, 2, 2,
        [&] { g[2].add(q); });
    run(kQryPrSpis, "dvg.KP", {{"DT1", D1}, {"DT2", D2}, {"DT21", D2}}, 3, 3, [&] { g[3].add(q); });
    run(kQryUwSpis, "dvg.KP", {{"DT1", D1}, {"DT11", D1}, {"DT2", D2}}, 4, 7, [&] {
      g[4].add(q);
      if (const int i = DismissalGroup(q.field("NOSD").as_string())) g[i].add(q);
    });
    run(kQryLst2, "dvg1.KP", {{"DT2", D2}, {"DT21", D2}, {"DT22", D2}}, 8, 8, [&] { g[8].add(q); });
    run(kQryVremSez, "dvg1.KP", {{"DT2", D2}, {"DT21", D2}, {"DT22", D2}}, 9, 9, [&] { g[9].add(q); });
    run(kQryPmuz, "kpr1.KP", {{"DT21", D2}, {"DT22", D2}, {"DT23", D2}, {"DT24", D2}}, 10, 11,
        [&] { g[q.field("OT").as_int() == 16 ? 10 : 11].add(q); });

  }

  std::string W;
};

const bool statements = register_statements("HRDOC350", {{"qryNepol", kQryNepol},
                                                         {"qryBezSoh", kQryBezSoh},
                                                         {"qryPrSpis", kQryPrSpis},
                                                         {"qryUwSpis", kQryUwSpis},
                                                         {"qryLst2", kQryLst2},
                                                         {"qryVremSez", kQryVremSez},
                                                         {"qryPmuz", kQryPmuz}});
const bool registered = register_report<Tfmhrd350, "HRDOC350">();

}  // namespace
}  // namespace hrdoc
