// "HRDOC280", "HRDOC280L": the employees whose planned vacation begins in an interval, listed in
// a window that prints their protocol and the vacation notices of the rows the user ticks. With
// a non-zero integer "HRDOC280L" is the daily reminder: the whole enterprise from five days back
// to three weeks ahead, shown once a day per user.
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "db/database.h"
#include "host/commands.h"
#include "host/compark.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "reports/vacation/notices.h"
#include "reports/vacation/protocol.h"
#include "text/date.h"
#include "ui/stop.h"

namespace hrdoc {
namespace {

constexpr const char* kQryGo = R"(select
 ((case when kpn3.sname is NULL then '' else kpn3.sname || ': ' end)
||(case when kpn4.sname is NULL then '' else kpn4.sname || ': ' end)
||(case when kpn1.sname is NULL then '' else kpn1.sname end)) as OWNAME,


kpn.FNAME as FIO,go.DT

from KDVIIIGOPER go

left join otzkpn kpn on kpn.KP=go.KP
left join otzkpn kpn1 on kpn1.KP=kpn.OWNER
left join otzkpn kpn2 on kpn2.KP=kpn1.OWNER
left join otzkpn kpn3 on kpn3.KP=kpn2.OWNER
left join otzkpn kpn4 on kpn4.KP=kpn3.OWNER
left join zpls ls on ls.KP=kpn.KP and ls.FD=:FD

left join kdt2iiidvg t2 on t2.kp=kpn.kp

where (go.DT>=:DT1 and go.DT<=:DT2) and (0=:OW or :OW1 in (kpn.OWNER,kpn1.OWNER,kpn2.OWNER,kpn3.OWNER,kpn4.OWNER))
and ls.UW=0
and t2.dto=(select max(dvg.dto) from kdt2iiidvg dvg where dvg.kp=t2.kp and dvg.dto<=:DT4)
and t2.okl>0  and t2.ktd!=121 and t2.stv>0
order by 1,2)";

constexpr const char* kQryKpn = R"(select kpn.fname,kpn.sname,
dvg.nmds,
vacpl.yyear, vacpl.dt,
ad1.pol

from kdviiigoper vacpl
left join otzkpn kpn on kpn.kp=vacpl.kp
left join kdt2iiidvg dvg on dvg.kp=vacpl.kp
left join zpads1 ad1 on ad1.kp=kpn.kp

where (dvg.dto=(select max(t2.dto) from kdt2iiidvg t2 where t2.kp=dvg.kp))
and (vacpl.dt>=:fd1 and vacpl.dt<=:fd2)

order by 1)";

constexpr const char* kReminderSelect = R"(select CNST from SPCONST where IDCONST=:IDCONST)";
constexpr const char* kReminderUpdate = R"(update SPCONST set  CNST=:CNST where IDCONST=:IDCONST)";
constexpr const char* kReminderInsert = R"(insert into SPCONST (IDCONST,NAME,CNST) values (:IDCONST,'',:CNST))";

constexpr const char* kCaption =
    "Печать протокола проверки сотрудников, имеющих дату отпуска по графику в заданном интервале";

// The reminder's settings row of a user: the date it was last shown.
struct Reminder {
  std::string key;
  bool exists = false;
  std::string shown;

  explicit Reminder(compark& ctx) : key("QFR03" + ctx.user()) {
    db::Query q(*ctx.data_module()->ADOConnection);
    q.sql(kReminderSelect);
    q.set("IDCONST", key);
    q.open();
    exists = !q.eof();
    if (exists) shown = q.field("CNST").as_string();
  }

  void store(db::Connection& c, const std::string& date) {
    const bool began = !c.in_transaction();
    if (began) c.begin();
    try {
      db::Query q(c);
      q.sql(exists ? kReminderUpdate : kReminderInsert);
      q.set("IDCONST", key);
      q.set("CNST", date);
      q.exec_sql();
      c.commit();
    } catch (...) {
      if (began && c.in_transaction()) c.rollback();
      throw;
    }
    exists = true;
    shown = date;
  }
};

class TfmHRDOC280 : public TReportWindow {
 public:
  TfmHRDOC280() {
    Caption = kCaption;
    Buttons = {{"bbPrnSel", "Печать протокола", false, true},
               {"bbPrnAllCheck", "Печать извещений об отпусках для отмеченных сотрудников", false, true},
               {"bbClose", "Закрыть", true, false, true}};
  }

  // Reads the interval's planned parts into the list; false when there is none.
  bool Fill(TDateTime today) {
    const bool reminder = arg != 0;
    start_ = reminder ? today - 5 : text::date_of(c_p->D1);
    end_ = reminder ? today + 21 : text::date_of(c_p->D2);
    qryGo_ = std::make_unique<db::Query>(*dm->ADOConnection);
    db::Query& q = *qryGo_;
    q.sql(kQryGo);
    q.set_date("DT1", start_);
    q.set_date("DT2", end_);
    q.set_date("DT4", end_);
    q.set("OW", int64_t{reminder ? 0 : c_p->KP});
    q.set("OW1", int64_t{reminder ? 0 : c_p->KP});
    q.set_date("FD", text::first_day_of_month(reminder ? today : c_p->D1));
    q.open();
    q.sort("owname,fio");
    ui::Table rows{{"Подразделение", "ФИО", "Дата отпуска"}, {}, {false, false, true}};
    std::vector<long long> keys;
    for (q.first(); !q.eof(); q.next()) {
      const db::Field dt = q.field("DT");
      const bool inside = !dt.is_null() && dt.as_date() >= start_ && dt.as_date() <= end_;
      rows.rows.push_back({q.field("OWNAME").as_string(), q.field("FIO").as_string(),
                           inside ? text::date_text(dt.as_date()) : std::string()});
      keys.push_back(static_cast<long long>(keys.size()));
    }
    items_ = rows.rows;
    const std::string period = "с " + text::date_text(start_) + " по " + text::date_text(end_);
    Fields = {ui::checklist_field("lv", "Протокол проверки сотрудников, имеющих дату отпуска по графику " + period,
                                  std::move(rows), std::move(keys))};
    return !items_.empty();
  }

  // The window's work is its buttons'.
  void Job() override {}

  void Press() override {
    if (Pressed == "bbPrnSel")
      vacation::PrintProtocol(*this, "HRDOC280", *qryGo_, start_, end_);
    else if (Pressed == "bbPrnAllCheck")
      PrintNotices();
  }

 private:
  void PrintNotices() {
    const std::vector<size_t> ticked = Entry("lv").ticked();
    if (ticked.empty()) {
      c_p->armerr(kArmInformation,
                  "Установите галочки напротив сотрудников, для которых необходимо распечатать извещение об отпусках!");
      return;
    }
    // A ticked row stands for the parts of that name on that date.
    std::set<std::pair<std::string, std::string>> wanted;
    for (size_t i : ticked) wanted.insert({items_[i][1], items_[i][2]});
    db::Query qryKpn(*dm->ADOConnection);
    qryKpn.sql(kQryKpn);
    qryKpn.set_date("fd1", start_);
    qryKpn.set_date("fd2", end_);
    qryKpn.open();
    std::vector<vacation::Notice> notices;
    for (; !qryKpn.eof(); qryKpn.next()) {
      const db::Field dt = qryKpn.field("DT");
      const std::string date = dt.is_null() ? std::string() : text::date_text(dt.as_date());
      if (!wanted.count({qryKpn.field("FNAME").as_string(), date})) continue;
      vacation::Notice n = vacation::NoticeOf(qryKpn);
      if (n.sname.empty()) continue;
      notices.push_back(std::move(n));
    }
    if (notices.empty()) {
      c_p->armerr(kArmInformation, "Для отмеченных сотрудников нет данных для извещений об отпусках.");
      return;
    }
    vacation::PrintNotices(*this, "HRDOC281", notices);
  }

  TDateTime start_ = 0, end_ = 0;
  std::unique_ptr<db::Query> qryGo_;
  std::vector<std::vector<std::string>> items_;
};

void Launch(const char* name, compark* ctx, int value) {
  const Command* cmd = find_command(name);
  compark* cp = ctx ? ctx : ::c_p;
  if (!cmd || !cp || !cp->ui()) return;
  if (!cp->data_module() || !cp->data_module()->ADOConnection) {
    cp->armerr(kArmError, std::string("Нет соединения с базой данных: команда ") + name + " читает базу (hrdoc run " +
                              name + " --db ФАЙЛ.fdb).");
    return;
  }
  const TDateTime today = text::today();
  std::unique_ptr<Reminder> reminder;
  try {
    reminder = std::make_unique<Reminder>(*cp);
    if (value != 0 && reminder->exists && reminder->shown == text::date_text(today)) return;
    if (value != 0 || cp->l_call("KVDLG", "USR", 1, 1, 0) == 0) {
      TfmHRDOC280 w;
      w.Attach(*cmd, cp, value, *cp->ui());
      if (w.Fill(today)) {
        w.Open(*cmd);
        w.ShowModal();
      }
    }
  } catch (const std::exception& e) {
    if (!ui::stop_requested()) cp->armerr(kArmError, e.what());
  }
  // Shown or not, the reminder has been looked at today.
  if (value != 0 && reminder && !ui::stop_requested()) {
    try {
      reminder->store(*cp->data_module()->ADOConnection, text::date_text(today));
    } catch (const std::exception& e) {
      cp->armerr(kArmError, std::string("Не удалось запомнить дату напоминания об отпусках:\r\n") + e.what());
    }
  }
  if (ui::stop_requested())
    ui::discard_outputs();
  else
    ui::keep_outputs();
}

const bool statements = register_statements("HRDOC280", {{"qryGo", kQryGo},
                                                         {"qryKpn", kQryKpn},
                                                         {"reminder select", kReminderSelect},
                                                         {"reminder update", kReminderUpdate},
                                                         {"reminder insert", kReminderInsert}});
const bool registered =
    register_launcher("HRDOC280", [](compark* ctx, int value) { Launch("HRDOC280", ctx, value); }) &&
    register_launcher("HRDOC280L", [](compark* ctx, int value) { Launch("HRDOC280L", ctx, value); });

}  // namespace
}  // namespace hrdoc
