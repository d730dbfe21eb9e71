// The shared database routines of the context: generators, settings and lock rows of SPCONST,
// the user's department set and its SQL condition, the per-user context row and the
// enterprise requisites.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <vector>

#include "host/compark.h"
#include "host/udm.h"
#include "text/date.h"

using hrdoc::db::Query;

namespace {

Tdm& module_of(const compark& ctx, const char* routine) {
  Tdm* m = ctx.data_module();
  if (!m || !m->ADOConnection) throw std::runtime_error(std::string(routine) + " :: нет соединения с базой данных");
  return *m;
}

// A time of day as hh:mm:ss.
std::string time_text(TDateTime t) {
  double frac = t - static_cast<double>(static_cast<int64_t>(t));
  auto secs = static_cast<long>(frac * 86400 + 0.5) % 86400;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld", secs / 3600, secs / 60 % 60, secs % 60);
  return buf;
}

// StrToIntDef: the whole text (blanks around it allowed) as an integer, else the default.
int to_int(const std::string& text, int fallback) {
  size_t b = text.find_first_not_of(' '), e = text.find_last_not_of(' ');
  if (b == std::string::npos) return fallback;
  std::string s = text.substr(b, e - b + 1);
  errno = 0;
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  if (*end || errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return fallback;
  return static_cast<int>(v);
}

TDateTime now_datetime() {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return hrdoc::text::encode_date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

}  // namespace

std::optional<int64_t> compark::GetGEN_ID(int index, int increment, bool raise) {
  static const char* const kGenerators[] = {"UND_GEN", "UNSD_GEN"};
  if (index < 0 || index >= 2) {
    if (raise)
      throw std::runtime_error("GetGEN_ID :: Генератор для индекса=" + std::to_string(index) + " не описан");
    return std::nullopt;
  }
  if (oracle) {
    if (raise) throw std::runtime_error("GetGEN_ID :: Нет генератора для ORACLE");
    return std::nullopt;
  }
  Query& q = *module_of(*this, "GetGEN_ID").qryTmp;
  q.close();
  q.sql(std::string("select GEN_ID(") + kGenerators[index] + "," + std::to_string(increment) + ") from RDB$DATABASE");
  q.open();
  int64_t value = q.field("gen_id").as_int();
  q.close();
  return value;
}

std::optional<int64_t> compark::GetUND_ID(bool raise) { return GetGEN_ID(0, 1, raise); }
std::optional<int64_t> compark::GetUNSD_ID(bool raise) { return GetGEN_ID(1, 1, raise); }

bool compark::GetLocEx(const std::string& key) {
  Query& q = *module_of(*this, "GetLocEx").qryTmp;
  q.close();
  q.sql(R"(select * from SPCONST where idconst=:PIDC)");
  q.set("PIDC", key);
  q.open();
  return !q.field("IDCONST").is_null();
}

bool compark::SetLocEx(const std::string& key, bool lock) {
  bool began = false;
  hrdoc::db::Connection* connection = nullptr;
  try {
    Tdm& m = module_of(*this, "SetLocEx");
    connection = m.ADOConnection;
    Query& q = *m.qryTmp;
    q.close();
    q.sql(R"(select * from SPCONST where idconst=:PIDC)");
    q.set("PIDC", key);
    q.open();
    if (q.field("IDCONST").is_null() == lock) {
      if (!connection->in_transaction()) {
        connection->begin();
        began = true;
      }
      Query w(*connection);
      if (!lock) {
        w.sql(R"(delete from SPCONST where IDCONST=:IDCONST)");
        w.set("IDCONST", key);
      } else {
        TDateTime now = now_datetime();
        w.sql(R"(insert into SPCONST (IDCONST, CNST, NAME) values (:IDCONST, :CNST, :NAME))");
        w.set("IDCONST", key);
        w.set("CNST", user() + "::" + ext_->str1060 + "::" + ext_->str1056);
        w.set("NAME", hrdoc::text::date_text(now) + " :: " + time_text(now));
      }
      w.exec_sql();
      connection->commit();
      return true;
    }
    armerr(kArmError, "Приказ корректируется другим пользователем.\r\n" + q.field("CNST").as_string() + "\r\n" +
                          q.field("NAME").as_string());
    return false;
  } catch (const std::exception& e) {
    if (began && connection && connection->in_transaction()) {
      try {
        connection->rollback();
      } catch (...) {
      }
    }
    if (dynamic_cast<const hrdoc::db::Error*>(&e))
      armerr(kArmError, "Ошибка блокировки приказа\r\n" + std::string(e.what()));
    else
      armerr(kArmError, "Ошибка блокировки приказа\r\nНеизвестное исключение");
    return false;
  } catch (...) {
    armerr(kArmError, "Ошибка блокировки приказа\r\nНеизвестное исключение");
    return false;
  }
}

std::string compark::GetMonopol() {
  Query q(*module_of(*this, "GetMonopol").ADOConnection);
  q.sql(R"(select ct.name,ct.cnst from spconst ct where ct.idconst='MONOPOL')");
  q.open();
  return q.field("cnst").as_string();
}

std::string compark::GetDopUsrMon() {
  Query q(*module_of(*this, "GetDopUsrMon").ADOConnection);
  q.sql(R"(select ct.name from spconst ct where ct.idconst='DOPUSRMON')");
  q.open();
  return q.field("name").as_string();
}

namespace {

// Writes one settings row of SPCONST in a transaction of its own.
void write_setting(hrdoc::db::Connection& c, const char* select, const char* update, const char* insert,
                   const std::vector<std::pair<const char*, std::string>>& values) {
  if (c.in_transaction()) c.commit();
  hrdoc::db::Transaction t(c);
  Query q(c);
  q.sql(select);
  q.open();
  q.sql(q.record_count() > 0 ? update : insert);
  for (const auto& [name, value] : values) q.set(name, value);
  q.exec_sql();
  t.commit();
}

}  // namespace

void compark::SetMonopol(const std::string& value) {
  write_setting(*module_of(*this, "SetMonopol").ADOConnection,
                R"(select ct.idconst from spconst ct where ct.idconst='MONOPOL')",
                R"(update spconst set name=:name,cnst=:cnst where idconst='MONOPOL')",
                R"(insert into spconst (idconst,name,cnst) values('MONOPOL',:name,:cnst))",
                {{"name", user()}, {"cnst", value}});
}

void compark::SetDopUsrMon(const std::string& value) {
  write_setting(*module_of(*this, "SetDopUsrMon").ADOConnection,
                R"(select ct.idconst from spconst ct where ct.idconst='DOPUSRMON')",
                R"(update spconst set name=:name where idconst='DOPUSRMON')",
                R"(insert into spconst (idconst,name,cnst) values('DOPUSRMON',:name,NULL))", {{"name", value}});
}

int compark::KpSewCount() const { return ext_->kpsew ? ext_->kpsew[0] : 0; }

int compark::KpSew(int i) const {
  int count = KpSewCount();
  if (i < 0 || count < i + 1)
    throw std::runtime_error("Выход за пределы диапазона в KpSew. Ind=" + std::to_string(i + 1) +
                             ", KpSewCount=" + std::to_string(count));
  return ext_->kpsew[i + 1];
}

bool compark::KpInKpSew(int key) const {
  for (int i = 1; i <= KpSewCount(); ++i)
    if (ext_->kpsew[i] == key) return true;
  return false;
}

int* compark::GetCopyKpSew() const {
  int n = KpSewCount();
  if (n <= 0) return nullptr;
  int* copy = new int[n + 1];
  std::memcpy(copy, ext_->kpsew, sizeof(int) * static_cast<size_t>(n + 1));
  return copy;
}

void compark::SetKpSew(const int* set) {
  if (!set || set[0] <= 0) {
    replace_kpsew({});
    return;
  }
  replace_kpsew(std::vector<int>(set + 1, set + 1 + set[0]));
}

void compark::SetKpSew(int key) {
  if (key <= 0)
    replace_kpsew({});
  else
    replace_kpsew({key});
}

void compark::LoadKpSewFromZPClients() {
  replace_kpsew({});
  Query& q = *module_of(*this, "LoadKpSewFromZPClients").qryTmp;
  q.close();
  q.sql(R"(select kpsew from zpclients where USR=:USR)");
  q.set("USR", user());
  q.open();
  std::string text = q.field("kpsew").as_string();
  q.close();
  std::vector<int> keys;
  // Each key ends with ";"; whatever follows the last one is ignored.
  for (size_t semi; (semi = text.find(';')) != std::string::npos; text.erase(0, semi + 1)) {
    std::string part = text.substr(0, semi);
    int key = to_int(part, INT32_MIN);
    if (key == INT32_MIN)
      throw std::runtime_error("Неверный код подразделения '" + part + "' в наборе подразделений (ZPCLIENTS.KPSEW) пользователя " + user());
    keys.push_back(key);
  }
  replace_kpsew(keys);
}

std::string compark::GetKpSewForWhere(const std::string& expression) const {
  if (KpSewCount() == 0) return {};
  std::string list;
  for (int i = 1; i <= KpSewCount(); ++i) {
    if (i > 1) list += ',';
    list += std::to_string(ext_->kpsew[i]);
  }
  std::string where = R"( and ( select sew.kp      from otzkpn sew      left join otzkpn sewow1 on sewow1.kp=sew.owner      left join otzkpn sewow2 on sewow2.kp=sewow1.owner      left join otzkpn sewow3 on sewow3.kp=sewow2.owner      left join otzkpn sewow4 on sewow4.kp=sewow3.owner      left join otzkpn sewow5 on sewow5.kp=sewow4.owner      left join zpkomu ex on ex.kp=sew.kp      left join zpkomu ex1 on ex1.kp=sewow1.kp      left join zpkomu ex2 on ex2.kp=sewow2.kp      left join zpkomu ex3 on ex3.kp=sewow3.kp      left join zpkomu ex4 on ex4.kp=sewow4.kp      left join zpkomu ex5 on ex5.kp=sewow5.kp      where sew.kp=)";
  where += expression;
  where += R"(        and (sew.KP in ()";
  where += list;
  where += R"() or sewow1.KP in ()";
  where += list;
  where += R"()         or sewow2.KP in ()";
  where += list;
  where += R"() or sewow3.KP in ()";
  where += list;
  where += R"()         or sewow4.KP in ()";
  where += list;
  where += R"() or sewow5.KP in ()";
  where += list;
  where += R"()         or sew.OWNER in ()";
  where += list;
  where += R"() or sewow1.OWNER in ()";
  where += list;
  where += R"()         or sewow2.OWNER in ()";
  where += list;
  where += R"() or sewow3.OWNER in ()";
  where += list;
  where += R"()         or sewow4.OWNER in ()";
  where += list;
  where += R"() or sewow5.OWNER in ()";
  where += list;
  where += R"()))";
  where += R"( and (ex.KP is null and ex1.KP is null and ex2.KP is null and ex3.KP is null and ex4.KP is null and ex5.KP is null))";
  where += R"(    ) is not NULL )";
  return where;
}

void compark::ref_comp() {
  if (!data_module() || !data_module()->ADOConnection) return;
  Tdm& m = *data_module();
  Query& q = *m.qryTmp;

  TDateTime d = hrdoc::text::today();
  auto ymd = hrdoc::text::decode_date(d);
  set_dates(d, hrdoc::text::encode_date(ymd.year, ymd.month, 1), d);
  flag516 = 2;

  q.close();
  q.sql(R"(select * from spuuk)");
  q.open();
  for (q.first(); !q.eof(); q.next()) {
    switch (q.field("UU").as_int()) {
      case 1: spuuk_dt1 = q.field("DT").as_date(); break;
      case 2: spuuk_dt2 = q.field("DT").as_date(); break;
      case 3: payroll_month = q.field("DT").as_date(); break;
      default: break;
    }
  }

  if (!oracle) {
    // The user's name is bound, not spliced into the text.
    const char* select_client = R"(select * from ZPCLIENTS where usr=:usr)";
    auto open_client = [&] {
      q.close();
      q.sql(select_client);
      q.set("usr", user());
      q.open();
    };
    try {
      open_client();
    } catch (const hrdoc::db::Error&) {
      hrdoc::db::Connection& c = *m.ADOConnection;
      if (c.in_transaction()) c.commit();
      hrdoc::db::Transaction t(c);
      c.execute("CREATE TABLE ZPCLIENTS   ( "
                "USR VARCHAR(20) NOT NULL, "
                "DT DATE, "
                "DT1 DATE, "
                "DT2 DATE, "
                "KP INTEGER "
                ")");
      c.execute(R"(ALTER TABLE ZPCLIENTS ADD PRIMARY KEY(USR))");
      t.commit();
      open_client();
    }
    if (!q.eof()) {
      set_dates(q.field("DT").as_date(), q.field("DT1").as_date(), q.field("DT2").as_date());
      auto key = static_cast<int32_t>(q.field("KP").as_int());
      q.close();
      q.sql("select * from otzkpn where kp=" + std::to_string(key));
      q.open();
      set_department(key, static_cast<int32_t>(q.field("TN").as_int()), q.field("SNAME").as_string());
    }
  }

  q.close();
  q.sql(R"(select vsm.IDCLIENT as IDCLIENT, vsm.IDKPV as IDKPV from VERBASSM vsm where vsm.IDSMX=0)");
  q.open();
  IDCLIENT = static_cast<int32_t>(q.field("IDCLIENT").as_int());
  IDKPV = static_cast<int32_t>(q.field("IDKPV").as_int());

  q.close();
  q.sql(R"(select consth.c_d from consth where consth.c_key=:c_key)");
  q.set("c_key", "ZPOTZKDR");
  q.open();
  ZPOTZKDR = to_int(q.field("c_d").as_string(), -1);
}

int compark::ini_ZPPASP() {
  GNI = NASH = BUH = RASH = KASSIR = ZAMDIR = BSKK = USN = KBUO = NACHOK = 0;
  BSKS = BSKSS = KBU = 0;
  NDFLFB = TRAVM = PROF = PERKOP = DOSTAV = ESNKOP = 0;
  Ext& x = *ext_;
  for (std::string* s : {&x.INN, &x.N, &x.OGRN, &x.OKATO, &x.OKWED, &x.OKDP, &x.OKOGU, &x.OKONH, &x.OKOPF, &x.OKFS,
                         &x.OKPO, &x.KPP, &x.RGPF, &x.RGFSS, &x.RGFOMS, &x.OKTMO, &x.BUHSNAME, &x.BUHFNAME,
                         &x.KASSNAME, &x.KASFNAME, &x.ZAMDSNAME, &x.ZAMDFNAME})
    s->clear();
  try {
    Query& q = *module_of(*this, "ini_ZPPASP").qryTmp;
    q.close();
    q.sql(R"(select pasp.INN as INN,pasp.GNI as GNI,pasp.NASH as NASH,pasp.BUH as BUH, pasp1.N as N,pasp1.OGRN as OGRN,pasp1.OKATO as OKATO,pasp1.OKWED as OKWED, pasp1.OKDP as OKDP,pasp1.OKOGU as OKOGU,pasp1.OKONH as OKONH,pasp1.OKOPF as OKOPF, pasp1.OKFS as OKFS,pasp1.OKPO as OKPO,pasp1.KPP as KPP,pasp1.RGPF as RGPF, pasp1.RGFSS as RGFSS,pasp1.RGFOMS as RGFOMS,pasp1.RASH as RASH,pasp1.KASSIR as KASSIR, pasp1.ZAMDIR as ZAMDIR,pasp2.BSKS as BSKS,pasp2.BSKSS as BSKSS,pasp2.BSKK as BSKK, pasp2.NDFLFB as NDFLFB,pasp2.TRAVM as TRAVM,pasp2.PROF as PROF,pasp2.PERKOP as PERKOP, pasp2.DOSTAV as DOSTAV,pasp2.ESNKOP as ESNKOP,pasp2.KBU as KBU,kpnbuh.SNAME as BUHSNAME, kpnbuh.FNAME as BUHFNAME,kpnkas.SNAME as KASSNAME,kpnkas.FNAME as KASFNAME, kpnzamd.SNAME as ZAMDSNAME,kpnzamd.FNAME as ZAMDFNAME,pasp2.USN as USN,pasp2.KBUO as KBUO, pasp1.NACHOK,pasp1.OKTMO from ZPPASP pasp left join ZPPASP1 pasp1 on pasp1.P=pasp.P left join ZPPASP2 pasp2 on pasp2.P=pasp.P left join OTZKPN kpnbuh on kpnbuh.KP=pasp.BUH left join OTZKPN kpnkas on kpnkas.KP=pasp1.KASSIR left join OTZKPN kpnzamd on kpnzamd.KP=pasp1.ZAMDIR where pasp.P=1)");
    q.open();
    auto i32 = [&](const char* f) { return static_cast<int32_t>(q.field(f).as_int()); };
    auto u8 = [&](const char* f) { return static_cast<uint8_t>(q.field(f).as_int()); };
    auto str = [&](const char* f) { return q.field(f).as_string(); };
    auto dbl = [&](const char* f) { return q.field(f).as_float(); };
    GNI = i32("GNI"), NASH = i32("NASH"), BUH = i32("BUH"), RASH = i32("RASH"), KASSIR = i32("KASSIR");
    ZAMDIR = i32("ZAMDIR"), BSKK = i32("BSKK"), USN = i32("USN"), KBUO = i32("KBUO"), NACHOK = i32("NACHOK");
    BSKS = u8("BSKS"), BSKSS = u8("BSKSS"), KBU = u8("KBU");
    NDFLFB = dbl("NDFLFB"), TRAVM = dbl("TRAVM"), PROF = dbl("PROF"), PERKOP = dbl("PERKOP");
    DOSTAV = dbl("DOSTAV"), ESNKOP = dbl("ESNKOP");
    x.INN = str("INN"), x.N = str("N"), x.OGRN = str("OGRN"), x.OKATO = str("OKATO"), x.OKWED = str("OKWED");
    x.OKDP = str("OKDP"), x.OKOGU = str("OKOGU"), x.OKONH = str("OKONH"), x.OKOPF = str("OKOPF");
    x.OKFS = str("OKFS"), x.OKPO = str("OKPO"), x.KPP = str("KPP"), x.RGPF = str("RGPF"), x.RGFSS = str("RGFSS");
    x.RGFOMS = str("RGFOMS"), x.OKTMO = str("OKTMO");
    x.BUHSNAME = str("BUHSNAME"), x.BUHFNAME = str("BUHFNAME"), x.KASSNAME = str("KASSNAME");
    x.KASFNAME = str("KASFNAME"), x.ZAMDSNAME = str("ZAMDSNAME"), x.ZAMDFNAME = str("ZAMDFNAME");
    return 0;
  } catch (const hrdoc::db::Error& e) {
    int code = errno;
    armerr(kArmError, "Исключение в методе ini_ZPPASP:\n" + e.message());
    return code ? code : -1;
  } catch (...) {
    int code = errno;
    armerr(kArmError, "Неизвестное исключение в методе ini_ZPPASP!");
    return code ? code : -1;
  }
}
