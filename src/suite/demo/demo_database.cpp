#include "suite/demo/demo_database.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "suite/demo/names.h"
#include "suite/demo/schema_text.h"
#include "suite/demo/write_mode.h"
#include "text/date.h"

namespace hrdoc::demo {
namespace {

using db::Value;
using text::decode_date;
using text::encode_date;

// A small generator of our own: the standard distributions differ between libraries, and the
// same options must give the same database everywhere.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // From a to b inclusive.
  int range(int a, int b) { return b <= a ? a : a + static_cast<int>(next() % static_cast<uint64_t>(b - a + 1)); }
  double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }
  bool chance(double p) { return unit() < p; }
  template <class T, size_t N>
  const T& pick(const T (&items)[N]) {
    return items[next() % N];
  }
  template <class T>
  const T& pick(const std::vector<T>& items) {
    return items[next() % items.size()];
  }

 private:
  uint64_t state_;
};

// Inserts rows into one table through one prepared, parameterised statement.
class Table {
 public:
  Table(db::Connection& connection, std::string name, std::vector<std::string> columns)
      : query_(connection), columns_(std::move(columns)) {
    std::string list, params;
    for (const auto& c : columns_) {
      list += (list.empty() ? "" : ",") + c;
      params += (params.empty() ? ":" : ",:") + c;
    }
    query_.sql("insert into " + name + " (" + list + ") values (" + params + ")");
  }
  void add(const std::vector<Value>& values) {
    if (values.size() != columns_.size())
      throw std::logic_error("demo: wrong number of values for " + query_.sql());
    for (size_t i = 0; i < values.size(); ++i) query_.set(columns_[i], values[i]);
    query_.exec_sql();
  }

 private:
  db::Query query_;
  std::vector<std::string> columns_;
};

Value null() { return std::monostate{}; }
Value num(int64_t v) { return v; }
Value real(double v) { return v; }
Value str(std::string v) { return v.empty() ? Value{} : Value{std::move(v)}; }
Value date(TDateTime d) { return d > 0 ? Value{db::Date{d}} : Value{}; }

using text::add_months;
TDateTime add_years(TDateTime d, int years) { return add_months(d, 12 * years); }
TDateTime month_start(TDateTime d) { return text::first_day_of_month(d); }
TDateTime month_end(TDateTime d) { return text::last_day_of_month(d); }
int year_of(TDateTime d) { return decode_date(d).year; }
// 0 = Monday ... 6 = Sunday (day 0, 30.12.1899, was a Saturday).
int weekday(TDateTime d) { return (static_cast<int>(d) + 5) % 7; }
bool public_holiday(TDateTime d) {
  auto ymd = decode_date(d);
  int m = ymd.month, day = ymd.day;
  return (m == 1 && day <= 8) || (m == 2 && day == 23) || (m == 3 && day == 8) || (m == 5 && (day == 1 || day == 9)) ||
         (m == 6 && day == 12) || (m == 11 && day == 4);
}
double round_to(double v, double step) { return std::round(v / step) * step; }
std::string digits(Random& rng, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += static_cast<char>('0' + rng.range(i == 0 ? 1 : 0, 9));
  return s;
}

// Staff categories as the reports count them.
enum Kat { kManager = 1, kSpecialist = 2, kClerk = 3, kWorker = 4 };

struct PositionDef {
  int code;
  const char* name;
  Kat kat;
  int salary;  // monthly salary at the reference date
};

const PositionDef kPositions[] = {
    {1, "Генеральный директор", kManager, 350000},
    {2, "Заместитель генерального директора", kManager, 240000},
    {3, "Главный инженер", kManager, 230000},
    {4, "Главный бухгалтер", kManager, 200000},
    {5, "Главный энергетик", kManager, 180000},
    {6, "Директор филиала", kManager, 210000},
    {7, "Начальник цеха", kManager, 150000},
    {8, "Начальник отдела", kManager, 130000},
    {9, "Начальник участка", kManager, 110000},
    {10, "Начальник бюро", kManager, 105000},
    {11, "Руководитель группы", kManager, 95000},
    {12, "Заведующий складом", kManager, 80000},
    {13, "Старший мастер", kManager, 85000},
    {14, "Мастер участка", kManager, 75000},
    {20, "Инженер-технолог", kSpecialist, 70000},
    {21, "Инженер-конструктор", kSpecialist, 72000},
    {22, "Инженер-программист", kSpecialist, 85000},
    {23, "Экономист", kSpecialist, 62000},
    {24, "Бухгалтер", kSpecialist, 58000},
    {25, "Юрисконсульт", kSpecialist, 68000},
    {26, "Специалист по кадрам", kSpecialist, 55000},
    {27, "Инженер по охране труда", kSpecialist, 64000},
    {28, "Менеджер по продажам", kSpecialist, 60000},
    {29, "Инженер по снабжению", kSpecialist, 58000},
    {30, "Инженер-энергетик", kSpecialist, 66000},
    {31, "Инженер по качеству", kSpecialist, 63000},
    {40, "Табельщик", kClerk, 38000},
    {41, "Кладовщик", kClerk, 40000},
    {42, "Секретарь-референт", kClerk, 42000},
    {43, "Делопроизводитель", kClerk, 37000},
    {44, "Кассир", kClerk, 41000},
    {50, "Токарь", kWorker, 62000},
    {51, "Фрезеровщик", kWorker, 61000},
    {52, "Шлифовщик", kWorker, 58000},
    {53, "Слесарь механосборочных работ", kWorker, 57000},
    {54, "Слесарь-ремонтник", kWorker, 56000},
    {55, "Электромонтер", kWorker, 59000},
    {56, "Электрогазосварщик", kWorker, 64000},
    {57, "Оператор станков с ПУ", kWorker, 66000},
    {58, "Наладчик оборудования", kWorker, 68000},
    {59, "Контролер ОТК", kWorker, 48000},
    {60, "Водитель погрузчика", kWorker, 50000},
    {61, "Грузчик", kWorker, 42000},
    {62, "Уборщик производственных помещений", kWorker, 32000},
    {63, "Бригадир", kWorker, 70000},
};

const PositionDef& position(int code) {
  for (const auto& p : kPositions)
    if (p.code == code) return p;
  throw std::logic_error("demo: unknown position " + std::to_string(code));
}

// What kind of work a department does: decides the positions of its staff.
enum Profile { kAdmin, kAccounts, kPersonnel, kEconomics, kTechnical, kQuality, kSales, kSupply, kShop, kEnergy };

const std::vector<int>& staff_positions(Profile p) {
  static const std::vector<int> admin{42, 25, 43, 23};
  static const std::vector<int> accounts{24, 24, 24, 23, 44, 43};
  static const std::vector<int> personnel{26, 26, 43, 42, 27};
  static const std::vector<int> economics{23, 23, 24, 22};
  static const std::vector<int> technical{20, 20, 21, 21, 22, 57};
  static const std::vector<int> quality{31, 59, 59, 59, 59};
  static const std::vector<int> sales{28, 28, 28, 29, 43};
  static const std::vector<int> supply{29, 41, 41, 61, 60, 61};
  static const std::vector<int> shop{50, 50, 51, 51, 52, 53, 53, 54, 57, 57, 58, 61, 62, 40, 20, 59};
  static const std::vector<int> energy{55, 55, 55, 56, 54, 30};
  switch (p) {
    case kAdmin: return admin;
    case kAccounts: return accounts;
    case kPersonnel: return personnel;
    case kEconomics: return economics;
    case kTechnical: return technical;
    case kQuality: return quality;
    case kSales: return sales;
    case kSupply: return supply;
    case kShop: return shop;
    case kEnergy: return energy;
  }
  return shop;
}

bool production(Profile p) { return p == kShop || p == kEnergy || p == kQuality; }

struct Dept {
  int kp = 0;
  int owner = 0;
  int level = 0;  // 1 = directly under the enterprise
  std::string sname, fname;
  Profile profile = kAdmin;
  int head_position = 8;
  int workplace = 1;
  bool excluded = false;  // pensioners: out of lists and department sets
  bool leaf = true;
  std::vector<int> chain;  // ancestors from the top level down, without the enterprise and itself
  int division = 0;        // separate division key (ZPKPSV) or 0
  std::vector<int> positions;  // positions in the staffing, in staffing order
};

struct State {
  int dept = 0;
  int pos = 0;
  double okl = 0;
  double stv = 1;
  int kat = 0;
  int rz = 0;
  int ktpd = 1;
  int kvr = 1;
};

struct Event {
  TDateTime date = 0;
  int ktd = 0;
  State st;
  int kosd = 0, pup = 0, perost = 0;
  int unsd = 0;
};

enum Defect { kNoIssuerCode, kNoHouse, kNoIssueDate, kLongBirthPlace, kNoAddress, kDefectKinds };

struct Person {
  int kp = 0, tn = 0;
  bool female = false;
  std::string surname, name, patronymic;
  TDateTime birth = 0, hire = 0, dismissal = 0;
  // An earlier stint at the enterprise of a re-hired employee (0 = none).
  TDateTime first_hire = 0, first_leave = 0;
  // A gap in the personal data of a recent hire (Defect), or none.
  int defect = -1;
  bool head = false;
  std::vector<Event> events;
  std::string fio() const { return surname + " " + name + " " + patronymic; }
  std::string short_name() const;
  const State& state_at(TDateTime d) const;
  bool employed_at(TDateTime d) const { return hire <= d && (dismissal == 0 || dismissal >= d); }
};

// First letter of a UTF-8 word (Cyrillic letters take two bytes).
std::string initial(const std::string& word) {
  if (word.empty()) return {};
  unsigned char c = static_cast<unsigned char>(word[0]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
  return word.substr(0, n);
}

std::string Person::short_name() const { return surname + " " + initial(name) + "." + initial(patronymic) + "."; }

const State& Person::state_at(TDateTime d) const {
  const State* st = &events.front().st;
  for (const auto& e : events)
    if (e.date <= d) st = &e.st;
  return *st;
}

// Genitive of a man's full name, for the signatory line of agreements ("в лице ... Иванова
// Сергея Петровича").
std::string genitive_male(const Person& p) {
  auto ends = [](const std::string& s, std::string_view tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
  };
  std::string surname = ends(p.surname, "ий") ? p.surname.substr(0, p.surname.size() - 4) + "ого" : p.surname + "а";
  std::string name = p.name;
  if (ends(name, "й"))
    name = name.substr(0, name.size() - 2) + "я";
  else if (ends(name, "я"))
    name = name.substr(0, name.size() - 2) + "и";
  else
    name += "а";
  return surname + " " + name + " " + p.patronymic + "а";
}

struct Place {
  const char* city;
  const char* district;
  int district_code;
  const char* settlement;
  const char* postcode;
};

const Place kPlaces[] = {
    {"Екатеринбург", "", 0, "", "620"},
    {"Екатеринбург", "", 0, "", "620"},
    {"Екатеринбург", "", 0, "", "620"},
    {"", "Сысертский р-н", 243, "с. Патруши", "624"},
    {"Березовский", "", 0, "", "623"},
    {"", "Белоярский р-н", 212, "пгт. Белоярский", "624"},
};
const Place kBranchPlace = {"Каменск-Уральский", "", 0, "", "623"};

struct BirthPlace {
  const char* region;
  const char* district;
  const char* place;
};

const BirthPlace kBirthPlaces[] = {
    {"Свердловская обл.", "", "Екатеринбург"},       {"Свердловская обл.", "", "Свердловск"},
    {"Свердловская обл.", "", "Нижний Тагил"},       {"Свердловская обл.", "", "Каменск-Уральский"},
    {"Свердловская обл.", "", "Первоуральск"},       {"Свердловская обл.", "", "Серов"},
    {"Свердловская обл.", "", "Асбест"},             {"Свердловская обл.", "", "Ревда"},
    {"Свердловская обл.", "Сысертский р-н", "с. Патруши"}, {"Свердловская обл.", "Белоярский р-н", "пгт. Белоярский"},
    {"Свердловская обл.", "Ирбитский р-н", "д. Речкалова"}, {"Челябинская обл.", "", "Челябинск"},
    {"Челябинская обл.", "Каслинский р-н", "с. Тюбук"}, {"Пермский край", "", "Пермь"},
    {"Тюменская обл.", "", "Тюмень"},                {"Курганская обл.", "Шадринский р-н", "с. Ольховка"},
    {"Республика Башкортостан", "", "Уфа"},          {"Омская обл.", "", "Омск"}};

class Builder {
 public:
  Builder(db::Connection& c, const DemoOptions& o, const Progress& progress)
      : c_(c), opt_(o), rng_(o.seed), progress_(progress) {
    today_ = o.today > 0 ? std::floor(o.today) : std::floor(text::today());
    year_ = year_of(today_);
    month_ = month_start(today_);
  }

  void run() {
    const int stages = 8;
    int stage = 0;
    auto step = [&](std::string_view name) {
      if (progress_) progress_(name, ++stage, stages);
    };
    c_.begin();
    directories();
    enterprise_tree();
    c_.commit();
    step("справочники и подразделения");
    people();
    c_.begin();
    persons_data();
    c_.commit();
    step("личные данные");
    c_.begin();
    history();
    c_.commit();
    step("история и приказы");
    c_.begin();
    staffing();
    c_.commit();
    step("штатное расписание");
    c_.begin();
    payroll();
    c_.commit();
    step("лицевые счета");
    c_.begin();
    vacations();
    c_.commit();
    step("отпуска");
    c_.begin();
    education_and_military();
    c_.commit();
    step("образование и воинский учет");
    c_.begin();
    enterprise_and_settings();
    c_.commit();
    c_.execute("SET GENERATOR UNSD_GEN TO " + std::to_string(unsd_));
    c_.execute("SET GENERATOR UND_GEN TO " + std::to_string(und_));
    // The indexes were made on empty tables: without fresh selectivity the optimiser picks the
    // date index for per-employee look-ups and a report reads the whole history for each row.
    c_.begin();
    c_.execute(
        "EXECUTE BLOCK AS DECLARE n VARCHAR(63); BEGIN FOR SELECT TRIM(RDB$INDEX_NAME) FROM RDB$INDICES "
        "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 INTO :n DO EXECUTE STATEMENT 'SET STATISTICS INDEX \"' || n || '\"'; END");
    c_.commit();
    step("реквизиты и настройки");
  }

 private:
  db::Connection& c_;
  DemoOptions opt_;
  Random rng_;
  const Progress& progress_;
  TDateTime today_ = 0, month_ = 0;
  int year_ = 0;
  int unsd_ = 0, und_ = 0;
  int recent_hires_ = 0, defects_ = 0;
  std::vector<Dept> depts_;  // index = kp - 1 (kp 1 is the enterprise)
  std::vector<Person> people_;
  std::map<std::pair<TDateTime, int>, int> orders_;  // (date, kind) -> UND, filled in date order

  int next_unsd() { return ++unsd_; }
  Dept& dept(int kp) { return depts_.at(static_cast<size_t>(kp - 1)); }

  // ---- directories
  void directories() {
    Table zpkd(c_, "ZPKD", {"D", "N"});
    for (const auto& p : kPositions) zpkd.add({num(p.code), str(p.name)});
    Table zpkat(c_, "ZPKAT", {"K", "N"});
    zpkat.add({num(1), str("Руководители")});
    zpkat.add({num(2), str("Специалисты")});
    zpkat.add({num(3), str("Служащие")});
    zpkat.add({num(4), str("Рабочие")});
    Table zpkop(c_, "ZPKOP", {"K", "N"});
    zpkop.add({num(1), str("Оклад")});
    zpkop.add({num(2), str("Тариф (повременная)")});
    zpkop.add({num(3), str("Сдельная")});
    Table prdl(c_, "OTZPRDL", {"KOD", "N", "PR"});
    prdl.add({num(1), str("Основная должность"), num(0)});
    prdl.add({num(2), str("Временная должность"), num(1)});
    Table mstn(c_, "OTZMSTN", {"MST", "N", "OKPO"});
    mstn.add({num(1), str("Основная площадка, г. Екатеринбург"), str(kOkpo)});
    mstn.add({num(2), str("Филиал, г. Каменск-Уральский"), str(kBranchOkpo)});
    mstn.add({num(3), str("Подсобное хозяйство (сезонные работы)"), str(kOkpo)});

    Table kdsd(c_, "KDSD", {"KTD", "NMS"});
    Table kdsdd(c_, "KDSDD", {"KTD", "KOMM2"});
    const std::pair<int, const char*> kinds[] = {
        {21, "Прием на работу"},       {22, "Перевод на другую работу"}, {23, "Прием в порядке перевода"},
        {26, "Изменение оклада"},      {31, "Ежегодный отпуск"},         {32, "Отпуск без сохранения заработной платы"},
        {51, "Изменение условий трудового договора"}, {121, "Увольнение"}, {122, "Увольнение в порядке перевода"}};
    for (const auto& [k, n] : kinds) {
      kdsd.add({num(k), str(n)});
      kdsdd.add({num(k), str(std::string("Приказ: ") + n)});
    }

    Table osd(c_, "KDOSD", {"KOSD", "KTD", "NOSD", "ROSD", "PUT"});
    for (const auto& g : kGrounds) osd.add({num(g.kosd), num(121), str(g.name), str(g.article), num(g.put)});

    Table stag(c_, "KDISTAG", {"TSTG", "NSTG", "KF"});
    const std::pair<int, const char*> kinds_of_service[] = {
        {1, "Общий трудовой стаж"},          {2, "Непрерывный стаж"},
        {4, "Стаж работы в отрасли"},        {8, "Стаж работы в районах Крайнего Севера"},
        {16, "Стаж работы на предприятии"},  {32, "Стаж для надбавки за выслугу лет"},
        {64, "Страховой стаж"}};
    for (const auto& [k, n] : kinds_of_service) stag.add({num(k), str(n), real(k == 8 ? 1.5 : 1.0)});

    auto dictionary = [&](const char* table, const char* key, const char* name, std::vector<const char*> names) {
      Table t(c_, table, {key, name});
      for (size_t i = 0; i < names.size(); ++i) t.add({num(static_cast<int64_t>(i) + 1), str(names[i])});
    };
    Table obr(c_, "KDIOBR", {"KOBR", "NOBR"});
    for (const auto& [k, n] : kEducationLevels) obr.add({num(k), str(n)});
    Table wuz(c_, "KDIWUZ", {"KWUZ", "NWUZ", "KTUZ"});
    for (size_t i = 0; i < std::size(kInstitutions); ++i)
      wuz.add({num(static_cast<int64_t>(i) + 1), str(kInstitutions[i].name), num(kInstitutions[i].kind)});
    dictionary("KDISCI", "KSCI", "NSCI",
               {"Технология машиностроения", "Экономика и управление на предприятии", "Бухгалтерский учет, анализ и аудит",
                "Юриспруденция", "Электроснабжение", "Металлорежущие станки и инструменты", "Программное обеспечение",
                "Управление персоналом", "Кандидат технических наук", "Кандидат экономических наук",
                "Доктор технических наук", "Сварочное производство"});
    dictionary("KDIKWD", "KKWD", "NKWD",
               {"Инженер", "Инженер-механик", "Экономист", "Бухгалтер", "Юрист", "Техник", "Токарь", "Слесарь",
                "Электромонтер", "Менеджер"});
    dictionary("KDIKSD", "KKSD", "NKSD",
               {"Технология машиностроения", "Экономика и бухгалтерский учет", "Юриспруденция",
                "Электрические станции, сети и системы", "Обработка металлов резанием", "Сварочное производство",
                "Прикладная информатика", "Менеджмент организации"});
    dictionary("KDISEM", "KSEM", "NSEM", {"Холост (не замужем)", "Женат (замужем)", "Разведен(а)", "Вдовец (вдова)"});
    dictionary("KDISR", "KSR", "NSR", {"Муж", "Жена", "Сын", "Дочь", "Мать", "Отец"});
    dictionary("KDIIWZV", "KWZV", "NWZV",
               {"рядовой", "ефрейтор", "младший сержант", "сержант", "старший сержант", "старшина", "прапорщик",
                "старший прапорщик", "лейтенант", "старший лейтенант", "капитан", "майор"});
    dictionary("KDIISWU", "KSWU", "NSWU",
               {"Солдаты, матросы", "Сержанты, старшины", "Прапорщики, мичманы", "Офицеры"});
    dictionary("KDIIRWK", "KRWK", "NRWK",
               {"Военный комиссариат Кировского района г. Екатеринбурга",
                "Военный комиссариат Орджоникидзевского района г. Екатеринбурга",
                "Военный комиссариат г. Каменск-Уральский", "Военный комиссариат Сысертского района"});
    dictionary("KDIIKWU", "KKWU", "NKWU", {"Первая категория запаса", "Вторая категория запаса"});
    dictionary("KDIIGWU", "KGWU", "NGWU", {"РА", "ВМФ", "ВКС"});
    dictionary("KDIIVWU", "KVWU", "NVWU", {"Общий", "Специальный"});
    dictionary("KDVVPK", "KVPK", "NVPK",
               {"Повышение квалификации", "Семинар", "Курсы целевого назначения", "Целевое обучение",
                "Профессиональная переподготовка"});
    dictionary("KDVUPKV", "KUPKV", "NUPKV",
               {"Учебный центр предприятия", "Сторонняя образовательная организация", "Дистанционное обучение"});
    dictionary("KDVIIPOH", "KPOH", "NPOH", {"Благодарность", "Почетная грамота", "Премия", "Занесение на Доску почета"});

    // Vacation kinds count their days by the calendar group 3 (every day but public holidays).
    Table otv(c_, "ZPOTV", {"K", "FD", "N", "KOF", "KOF1", "NGR", "PRIZ"});
    const TDateTime since = encode_date(2000, 1, 1);
    const std::pair<int, const char*> vacation_kinds[] = {
        {1, "Ежегодный основной оплачиваемый отпуск"},  {2, "Ежегодный оплачиваемый отпуск"},
        {3, "Дополнительный отпуск"},                   {4, "Учебный отпуск"},
        {5, "Отпуск без сохранения заработной платы"}};
    for (const auto& [k, n] : vacation_kinds) otv.add({num(k), date(since), str(n), real(1), real(1), num(3), num(k == 5 ? 0 : 1)});
    otv.add({num(2), date(encode_date(year_ - 1, 1, 1)), str("Ежегодный оплачиваемый отпуск"), real(1), real(1), num(3), num(1)});

    // Work schedules from three years back to the end of the year after next: vacations of
    // next year's plan may end there.
    Table sk(c_, "ZPSK", {"NGR", "FD", "KDM", "KHM", "GR"});
    for (int y = year_ - 3; y <= year_ + 2; ++y)
      for (int m = 1; m <= 12; ++m) {
        int n = text::days_in_month(y, m);
        std::string five, shifts, calendar;
        int work5 = 0, work2 = 0;
        for (int d = 1; d <= n; ++d) {
          TDateTime day = encode_date(y, m, d);
          bool holiday = public_holiday(day);
          bool work = weekday(day) < 5 && !holiday;
          five += work ? "р" : "в";
          work5 += work;
          bool shift = (static_cast<int>(day) % 4) < 2;
          shifts += shift ? "р" : "в";
          work2 += shift;
          calendar += holiday ? "п" : "р";
        }
        TDateTime fd = encode_date(y, m, 1);
        sk.add({num(1), date(fd), num(n), num(work5 * 8), str(five)});
        sk.add({num(2), date(fd), num(n), num(work2 * 12), str(shifts)});
        sk.add({num(3), date(fd), num(n), num(0), str(calendar)});
      }
  }

  struct Ground {
    int kosd;
    const char* name;
    const char* article;
    int put;
    int weight;
  };
  static constexpr Ground kGrounds[] = {
      {1, "Соглашение сторон", "п.1 ч.1 ст.77 ТК РФ", 3, 15},
      {2, "Сокращение численности или штата работников", "п.2 ч.1 ст.81 ТК РФ", 0, 8},
      {3, "Расторжение по инициативе работника (собственное желание)", "п.3 ч.1 ст.77 ТК РФ", 2, 42},
      {4, "Истечение срока трудового договора", "п.2 ч.1 ст.77 ТК РФ", 0, 8},
      {25, "Расторжение по инициативе работодателя: прогул", "пп.\"а\" п.6 ч.1 ст.81 ТК РФ", 1, 7},
      {26, "Расторжение по инициативе работодателя: неоднократное неисполнение обязанностей",
       "п.5 ч.1 ст.81 ТК РФ", 1, 4},
      {80, "Призыв на военную службу", "п.1 ч.1 ст.83 ТК РФ", 0, 4},
      {82, "Ликвидация организации", "п.1 ч.1 ст.81 ТК РФ", 0, 3},
      {85, "Несоответствие занимаемой должности", "п.3 ч.1 ст.81 ТК РФ", 0, 3},
      {90, "Расторжение по инициативе работника в связи с выходом на пенсию", "п.3 ч.1 ст.77 ТК РФ", 2, 6},
  };
  int pick_ground() {
    int total = 0;
    for (const auto& g : kGrounds) total += g.weight;
    int r = rng_.range(1, total);
    for (const auto& g : kGrounds)
      if ((r -= g.weight) <= 0) return g.kosd;
    return 3;
  }

  static constexpr std::pair<int, const char*> kEducationLevels[] = {
      {1, "Высшее профессиональное"},  {2, "Неполное высшее"},       {3, "Среднее профессиональное"},
      {4, "Среднее общее"},            {5, "Основное общее"},        {8, "Высшее (магистратура)"},
      {28, "Начальное профессиональное"}};
  struct Institution {
    const char* name;
    int kind;  // 1..7 universities, 8..10 colleges, 13 and 17 vocational schools
  };
  static constexpr Institution kInstitutions[] = {
      {"Уральский федеральный университет", 1},
      {"Уральский государственный экономический университет", 2},
      {"Уральский государственный горный университет", 3},
      {"Уральский государственный юридический университет", 4},
      {"Уральский государственный университет путей сообщения", 5},
      {"Екатеринбургский политехникум", 8},
      {"Уральский колледж технологий и предпринимательства", 9},
      {"Каменск-Уральский политехнический колледж", 10},
      {"Профессиональное училище N 12", 13},
      {"Средняя общеобразовательная школа", 17},
  };

  static constexpr const char* kOkpo = "05754312";
  static constexpr const char* kBranchOkpo = "05754329";

  // ---- the department tree
  int add_dept(int owner, std::string sname, std::string fname, Profile profile, int head_position) {
    Dept d;
    d.kp = static_cast<int>(depts_.size()) + 1;
    d.owner = owner;
    d.sname = std::move(sname);
    d.fname = std::move(fname);
    d.profile = profile;
    d.head_position = head_position;
    if (owner > 0) {
      Dept& parent = dept(owner);
      parent.leaf = false;
      d.level = parent.level + 1;
      d.chain = parent.chain;
      if (parent.level >= 1) d.chain.push_back(owner);
      d.workplace = parent.workplace;
      d.division = parent.division;
    }
    depts_.push_back(std::move(d));
    return depts_.back().kp;
  }

  void enterprise_tree() {
    add_dept(0, "Уралстанкомаш", "Акционерное общество \"Уральский станкостроительный завод\"", kAdmin, 1);
    int admin = add_dept(1, "Администрация", "Администрация завода", kAdmin, 1);
    int acc = add_dept(admin, "Бухгалтерия", "Бухгалтерия", kAccounts, 4);
    add_dept(acc, "Группа расчета зарплаты", "Группа расчета заработной платы", kAccounts, 11);
    add_dept(admin, "Отдел кадров", "Отдел кадров", kPersonnel, 8);
    add_dept(admin, "ПЭО", "Планово-экономический отдел", kEconomics, 8);
    add_dept(admin, "Юридический отдел", "Юридический отдел", kAdmin, 8);

    int prod = add_dept(1, "Производство", "Производственная служба", kShop, 2);
    // Small enterprises get a slim tree, still five levels deep.
    const bool small = opt_.employees < 300;
    int shops = std::max(1, opt_.employees / 280);
    for (int s = 1; s <= shops; ++s) {
      std::string n = (s % 3 == 0 ? "Сборочный цех N" : "Механический цех N") + std::to_string(s);
      int shop = add_dept(prod, n, n, kShop, 7);
      int sections = small ? 1 : 2 + (s % 2);
      for (int u = 1; u <= sections; ++u) {
        std::string un = "Участок N" + std::to_string(u) + " цеха " + std::to_string(s);
        int section = add_dept(shop, un, un, kShop, 9);
        int brigades = small ? 1 : 1 + rng_.range(0, 1);
        for (int b = 1; b <= brigades; ++b) {
          std::string bn = "Бригада N" + std::to_string(b) + " уч." + std::to_string(u) + " ц." + std::to_string(s);
          int brigade = add_dept(section, bn, bn, kShop, 14);
          // The first brigade of each shop has links: the tree is five levels deep there.
          if (b == 1 && (u == 1 || rng_.chance(0.3))) {
            const int links = 1 + rng_.range(0, 1);
            for (int z = 1; z <= links; ++z) {
              std::string zn = "Звено N" + std::to_string(z) + " бр." + std::to_string(b) + " уч." +
                               std::to_string(u) + " ц." + std::to_string(s);
              add_dept(brigade, zn, zn, kShop, 63);
            }
          }
        }
      }
    }
    int tech = add_dept(1, "Техническая служба", "Техническая служба", kTechnical, 3);
    int ogt = add_dept(tech, "ОГТ", "Отдел главного технолога", kTechnical, 8);
    int bureau = add_dept(ogt, "Бюро механообработки", "Бюро механической обработки", kTechnical, 10);
    add_dept(bureau, "Группа программ ЧПУ", "Группа программирования станков с ЧПУ", kTechnical, 11);
    add_dept(tech, "КБ", "Конструкторское бюро", kTechnical, 10);
    add_dept(tech, "ОТК", "Отдел технического контроля", kQuality, 8);

    int trade = add_dept(1, "Коммерческая служба", "Коммерческая служба", kSales, 2);
    add_dept(trade, "Отдел продаж", "Отдел продаж", kSales, 8);
    int supply = add_dept(trade, "ОМТС", "Отдел материально-технического снабжения", kSupply, 8);
    add_dept(supply, "Центральный склад", "Центральный склад", kSupply, 12);

    int energy = add_dept(1, "Служба главного энергетика", "Служба главного энергетика", kEnergy, 5);
    int ec = add_dept(energy, "Энергоцех", "Энергетический цех", kEnergy, 7);
    add_dept(ec, "Участок электроснабжения", "Участок электроснабжения", kEnergy, 9);
    int rmc = add_dept(energy, "РМЦ", "Ремонтно-механический цех", kEnergy, 7);
    add_dept(rmc, "Участок ремонта оборудования", "Участок ремонта оборудования", kEnergy, 9);

    int branch = add_dept(1, "Филиал г.Каменск-Уральский", "Филиал в г. Каменск-Уральский", kShop, 6);
    dept(branch).workplace = 2;
    dept(branch).division = 1;
    int bshop = add_dept(branch, "Цех сборки филиала", "Цех сборки филиала", kShop, 7);
    add_dept(bshop, "Участок N1 филиала", "Участок N1 цеха сборки филиала", kShop, 9);
    add_dept(branch, "Бухгалтерия филиала", "Бухгалтерия филиала", kAccounts, 4);

    int pensioners = add_dept(1, "Пенсионеры", "Пенсионеры", kAdmin, 0);
    dept(pensioners).excluded = true;

    Table kpn(c_, "OTZKPN", {"KP", "OWNER", "TN", "SNAME", "FNAME"});
    Table ruc(c_, "OTZRUC", {"OWNER", "OW1", "OW2", "OW3", "OW4", "OW5", "OW6", "OW7"});
    Table ruc2(c_, "OTZRUC2", {"KP", "PRZ"});
    Table nkp(c_, "OTZNKP", {"KP", "OWNER", "SNAME"});
    Table komu(c_, "ZPKOMU", {"KP"});
    for (const auto& d : depts_) {
      kpn.add({num(d.kp), num(d.owner), num(0), str(d.sname), str(d.fname)});
      std::vector<Value> row{num(d.kp)};
      for (size_t i = 0; i < 7; ++i) row.push_back(num(i < d.chain.size() ? d.chain[i] : 0));
      ruc.add(row);
      ruc2.add({num(d.kp), num(d.excluded ? 1 : 0)});
      nkp.add({num(d.kp), num(d.owner), str(d.sname)});
      if (d.excluded) komu.add({num(d.kp)});
    }
    Table kpsv(c_, "ZPKPSV", {"KDKPN", "KPV"});
    Table kdsv(c_, "ZPKDSV", {"KPV", "D", "N"});
    for (const auto& d : depts_)
      if (d.division) kpsv.add({num(d.kp), num(d.division)});
    for (int code : {6, 7, 9, 24, 53, 57})
      kdsv.add({num(1), num(code), str(std::string(position(code).name) + " (филиал)")});
  }

  // ---- people and their histories (kept in memory, written by the stages below)
  std::vector<int> staffed_depts() const {
    std::vector<int> out;
    for (const auto& d : depts_)
      if (d.level >= 1 && !d.excluded) out.push_back(d.kp);
    return out;
  }

  Person new_person(int index, bool female) {
    Person p;
    p.kp = 1001 + index;
    p.tn = 101 + index;
    p.female = female;
    const std::string surname = kSurnames[rng_.next() % kSurnameCount];
    const MaleName& father = kMaleNames[rng_.next() % kMaleNameCount];
    if (female) {
      p.surname = feminine_surname(surname);
      p.name = kFemaleNames[rng_.next() % kFemaleNameCount];
      p.patronymic = father.patronymic_female;
    } else {
      p.surname = surname;
      p.name = kMaleNames[rng_.next() % kMaleNameCount].name;
      p.patronymic = father.patronymic_male;
    }
    return p;
  }

  int random_age() {
    int r = rng_.range(1, 100);
    if (r <= 12) return rng_.range(18, 25);
    if (r <= 40) return rng_.range(26, 35);
    if (r <= 65) return rng_.range(36, 45);
    if (r <= 85) return rng_.range(46, 55);
    if (r <= 98) return rng_.range(56, 65);
    return rng_.range(66, 70);
  }

  State make_state(int dept_kp, int pos_code, TDateTime when) {
    State s;
    s.dept = dept_kp;
    s.pos = pos_code;
    const PositionDef& p = position(pos_code);
    s.kat = p.kat;
    s.rz = p.kat == kWorker ? rng_.range(2, 6) : 0;
    double salary = p.salary * (p.kat == kWorker ? 0.8 + 0.06 * s.rz : 0.9 + 0.2 * rng_.unit());
    // Salaries were lower in the past: about 6 % a year.
    double years = (today_ - when) / 365.25;
    s.okl = round_to(salary / std::pow(1.06, std::max(0.0, years)), 100);
    return s;
  }

  void people() {
    std::vector<int> depts = staffed_depts();
    // Departments take staff by weight: production units are larger.
    std::vector<double> weight;
    double total = 0;
    for (int kp : depts) {
      const Dept& d = dept(kp);
      double w = (production(d.profile) ? 3.0 : 1.6) * (d.leaf ? 1.0 : 0.4);
      weight.push_back(w);
      total += w;
    }
    auto random_dept = [&]() {
      double r = rng_.unit() * total;
      for (size_t i = 0; i < depts.size(); ++i)
        if ((r -= weight[i]) <= 0) return depts[i];
      return depts.back();
    };

    const int n = std::max(opt_.employees, static_cast<int>(depts.size()));
    const TDateTime fdb = month_;
    for (int i = 0; i < n; ++i) {
      const bool head = i < static_cast<int>(depts.size());
      // Employees by their number among the staff: a few patterns every report needs.
      const int j = i - static_cast<int>(depts.size());
      int home = head ? depts[static_cast<size_t>(i)] : random_dept();
      // This month's forced hires and dismissals work at the main site, whose code the
      // part-time report is usually run for.
      for (int tries = 0; !head && (j % 25 == 3 || j % 30 == 5) && dept(home).workplace != 1 && tries < 20; ++tries)
        home = random_dept();
      const Dept& d = dept(home);
      int pos = head ? d.head_position : rng_.pick(staff_positions(d.profile));
      const bool prod = production(d.profile);
      bool female = head ? (d.head_position == 4 || d.profile == kPersonnel || rng_.chance(0.2))
                         : rng_.chance(prod && position(pos).kat == kWorker ? 0.22 : 0.62);
      if (pos == 1 || pos == 63) female = false;
      Person p = new_person(i, female);
      p.head = head;

      int age = random_age();
      if (!head && j % 37 == 6) age = rng_.range(18, 20);
      if (!head && j % 23 == 9) age = rng_.range(p.female ? 55 : 60, 66);
      if (!head && j % 30 == 5) age = std::max(age, 25);
      if (head) age = std::max(age, 32);
      TDateTime birth = add_years(today_, -age) - rng_.range(1, 364);
      p.birth = birth;
      TDateTime earliest = std::max(add_years(birth, 18), add_years(today_, -40));
      double mean_years = head ? 12 : 7;
      double span = -std::log(1 - rng_.unit() * 0.999) * mean_years * 365.25;
      TDateTime hire = std::floor(std::max(earliest, today_ - span));
      if (head) hire = std::min(hire, add_years(today_, -3));
      if (!head && j % 25 == 3) hire = fdb + rng_.range(0, static_cast<int>(today_ - fdb));
      if (!head && j % 37 == 6) hire = std::max(add_years(birth, 18), today_ - rng_.range(30, 500));
      hire = std::min(std::max(hire, add_years(birth, 18)), today_);
      p.hire = hire;

      TDateTime dismissal = 0;
      if (!head && j % 30 == 5) hire = std::max(std::min(hire, fdb - 400), add_years(birth, 18));
      if (!head && hire < fdb - 60) {
        if (j % 30 == 5)
          dismissal = fdb + rng_.range(0, static_cast<int>(today_ - fdb));
        else if (j % 11 == 4) {
          // Spread over the last five years, as hires are: a third in the reference year.
          int back = rng_.chance(0.35) ? 0 : rng_.range(1, 4);
          dismissal = std::max(hire + 60, encode_date(year_ - back, 1, 9)) + rng_.range(0, back ? 330 : 200);
        }
        else if (rng_.chance(0.07))
          dismissal = hire + 60 + rng_.range(0, static_cast<int>(today_ - hire - 60));
      }
      if (dismissal > today_) dismissal = today_;
      p.dismissal = dismissal;
      // Re-hired: an earlier stint ended at least half a year before this hire.
      if (!head && j % 25 != 3 && hire - add_years(birth, 18) > 4 * 365 && rng_.chance(0.05)) {
        p.first_hire = std::max(add_years(birth, 18), hire - rng_.range(3 * 365, 9 * 365));
        p.first_leave = p.first_hire + rng_.range(120, static_cast<int>(hire - p.first_hire) - 180);
      }
      const TDateTime end = dismissal ? dismissal : today_;

      // Where the employee worked before the last department: up to two transfers.
      std::vector<TDateTime> transfers;
      if (!head && end - hire > 2 * 365) {
        int k = rng_.range(0, 2);
        for (int t = 0; t < k; ++t) transfers.push_back(hire + 180 + rng_.range(0, static_cast<int>(end - hire - 210)));
        std::sort(transfers.begin(), transfers.end());
        transfers.erase(std::unique(transfers.begin(), transfers.end()), transfers.end());
      }
      std::vector<std::pair<int, int>> places;  // dept, position before each transfer
      for (size_t t = 0; t < transfers.size(); ++t) {
        int other = random_dept();
        places.emplace_back(other, rng_.pick(staff_positions(dept(other).profile)));
      }
      places.emplace_back(home, pos);

      if (p.first_hire) {
        Event first;
        first.date = p.first_hire;
        first.ktd = 21;
        first.st = make_state(home, pos, p.first_hire);
        p.events.push_back(first);
        Event left = first;
        left.date = p.first_leave;
        left.ktd = 121;
        left.kosd = rng_.chance(0.7) ? 3 : pick_ground();
        p.events.push_back(left);
      }
      Event hired;
      hired.date = hire;
      hired.ktd = (!head && j % 25 != 3 && rng_.chance(0.05)) ? 23 : 21;
      hired.st = make_state(places[0].first, places[0].second, hire);
      if (!head) {
        if (j % 20 == 2 || rng_.chance(0.04)) hired.st.stv = 0.5;
        if (rng_.chance(0.03)) hired.st.ktpd = rng_.range(2, 3);
        if (rng_.chance(0.03)) hired.st.kvr = 2;
      }
      p.events.push_back(hired);
      // One recent hire in ten has a gap in the personal data a bank registry checks.
      if (!head && hired.ktd == 21 && hire > today_ - 365 && recent_hires_++ % 10 == 4)
        p.defect = defects_++ % kDefectKinds;
      State cur = hired.st;
      size_t place = 0;
      // Salary indexations on the first of January of the last five years.
      std::vector<std::pair<TDateTime, int>> changes;
      for (TDateTime t : transfers) changes.emplace_back(t, 22);
      for (int y = year_ - 4; y <= year_; ++y) {
        TDateTime jan = encode_date(y, 1, 1);
        if (jan > hire && jan <= end) changes.emplace_back(jan, 26);
      }
      if (!head && end - hire > 400 && rng_.chance(0.05))
        changes.emplace_back(hire + rng_.range(200, static_cast<int>(end - hire) - 100), 51);
      std::sort(changes.begin(), changes.end());
      for (const auto& [when, ktd] : changes) {
        if (when <= p.events.back().date || (dismissal && when >= dismissal)) continue;
        Event e;
        e.date = when;
        e.ktd = ktd;
        if (ktd == 22) {
          ++place;
          State next = make_state(places[place].first, places[place].second, when);
          next.stv = cur.stv;
          next.ktpd = cur.ktpd;
          next.kvr = cur.kvr;
          cur = next;
        } else if (ktd == 26) {
          cur.okl = round_to(cur.okl * 1.06, 100);
        } else {
          cur.stv = cur.stv >= 1 ? 0.5 : 1.0;
        }
        e.st = cur;
        p.events.push_back(e);
      }
      if (dismissal) {
        Event e;
        e.date = dismissal;
        e.ktd = (j % 30 != 5 && rng_.chance(0.1)) ? 122 : 121;
        e.st = cur;
        e.kosd = pick_ground();
        e.pup = rng_.chance(0.03) ? 1 : 0;
        e.perost = rng_.chance(0.04) ? 1 : 0;
        p.events.push_back(e);
      }
      people_.push_back(std::move(p));
    }
  }

  const Person* find_head(int dept_kp) const {
    for (const auto& p : people_)
      if (p.head && p.events.front().st.dept == dept_kp) return &p;
    return nullptr;
  }
  const Dept* find_dept(const std::string& sname) const {
    for (const auto& d : depts_)
      if (d.sname == sname) return &d;
    return nullptr;
  }

  // ---- personal data
  void persons_data() {
    Table kpn(c_, "OTZKPN", {"KP", "OWNER", "TN", "SNAME", "FNAME"});
    Table ads(c_, "ZPADS1", {"KP", "VDOC", "SER", "NUM", "ORG", "KORG", "NORG", "FDVD", "FDR", "POL", "IND", "ULNAME"});
    Table adr(c_, "ZPADRES", {"KP", "IND", "KODST", "ST", "KODREG", "REG", "REGN", "KODRAI", "RAI", "KODGOR", "GOR",
                              "KODNAS", "NAS", "ULNAME", "DOM", "KORP", "KV", "ADRIN"});
    Table adf(c_, "KDT2IADF", {"KP", "T", "INDF", "STF", "KODREGF", "REGF", "KODRAIF", "RAIF", "KODGORF", "GORF",
                               "KODNASF", "NASF", "ULNAMEF", "DOMF", "KORPF", "KVF", "ADRINF"});
    Table ob(c_, "KDT2IOB", {"KP", "CONTRACTN", "CONTRACTDATE", "DTR", "KSEM", "KSTR", "KREGP", "KRAIP", "KGORP", "PSTS"});
    Table fam(c_, "KDT2IFAM", {"UNSD", "KP", "FIO", "DTR", "KSR"});
    Table sht(c_, "OTZSHT", {"KP", "PKG"});
    Table mb(c_, "ZPMB", {"KP", "PRIZ", "NS4"});
    Table mst(c_, "KDT2MST", {"UNSD", "KP", "KOD", "DTN", "DTK", "VREM"});
    Table viip(c_, "KDT2VIIP", {"UNSD", "KP", "KPOH"});
    int maternity = 0, staggered = 0;
    Table kpr(c_, "ZPKPR", {"UNSD", "KP", "VID", "OT", "FD1", "FD2"});

    for (auto& p : people_) {
      const State& last = p.events.back().st;
      kpn.add({num(p.kp), num(last.dept), num(p.tn), str(p.short_name()), str(p.fio())});

      const bool branch = dept(last.dept).workplace == 2;
      const Place& place = branch ? kBranchPlace : rng_.pick(kPlaces);
      // Passports are issued at 14, 20 and 45.
      TDateTime issued = add_years(p.birth, 14);
      for (int a : {20, 45})
        if (add_years(p.birth, a) <= today_) issued = add_years(p.birth, a);
      issued += rng_.range(3, 40);
      if (issued > today_) issued = today_;
      std::string series = std::to_string(65 + rng_.range(0, 1)) + " " + (decode_date(issued).year % 100 < 10 ? "0" : "") +
                           std::to_string(decode_date(issued).year % 100);
      std::string number = digits(rng_, 6);
      std::string org = std::string("ОУФМС России по Свердловской обл. в ") +
                        (branch ? "г. Каменск-Уральский" : "Кировском р-не г. Екатеринбурга");
      std::string korg = "660-" + std::to_string(rng_.range(100, 999)).substr(0, 3);
      // A few documents carry the whole number in SER, as older records do; a few are not
      // Russian passports: 10 a foreign passport, 91 another document.
      bool joined = rng_.chance(0.02);
      int vdoc = rng_.chance(0.015) ? 10 : rng_.chance(0.01) ? 91 : 21;
      std::string ser = joined ? series.substr(0, 2) + series.substr(3) + number : series;
      if (vdoc == 10) ser = std::to_string(rng_.range(70, 79)) + digits(rng_, 7);
      if (vdoc == 91) ser = "II-АИ" + digits(rng_, 3);
      if (vdoc != 21) {
        joined = vdoc == 10;
        org = vdoc == 10 ? "МИД Республики Казахстан" : "ОВМ ОП N 5 УМВД России по г. Екатеринбургу";
      }
      std::string postcode = std::string(place.postcode) + digits(rng_, 3);
      ads.add({num(p.kp), num(vdoc), str(ser), joined ? null() : str(number), str(org),
               p.defect == kNoIssuerCode || vdoc == 10 ? null() : str(korg), str(org),
               p.defect == kNoIssueDate ? null() : date(issued), date(p.birth), str(p.female ? "Ж" : "М"),
               str(postcode), str("66" + digits(rng_, 10))});

      std::string street = kStreets[rng_.next() % kStreetCount];
      std::string house = p.defect == kNoHouse ? "" : std::to_string(rng_.range(1, 120));
      std::string korp = rng_.chance(0.1) ? std::to_string(rng_.range(1, 3)) : "";
      std::string flat = rng_.chance(0.85) ? std::to_string(rng_.range(1, 240)) : "";
      std::string full = postcode + ", Свердловская обл., " +
                         (place.city[0] ? std::string("г. ") + place.city : std::string(place.district) + ", " + place.settlement) +
                         ", " + street + (house.empty() ? "" : ", д." + house) + (korp.empty() ? "" : ", корп." + korp) +
                         (flat.empty() ? "" : ", кв." + flat);
      if (p.defect != kNoAddress)
        adr.add({num(p.kp), str(postcode), num(643), str("Россия"), num(66), str("Свердловская обл."), str("Свердловская обл."),
               place.district_code ? num(place.district_code) : null(), str(place.district),
               place.city[0] ? num(branch ? 3 : 1) : null(), str(place.city), place.settlement[0] ? num(1) : null(),
               str(place.settlement), str(street), str(house), str(korp), str(flat), str(full)});
      std::string phone = "+7 9" + digits(rng_, 2);
      phone += " " + digits(rng_, 3);
      phone += "-" + digits(rng_, 2);
      phone += "-" + digits(rng_, 2);
      adf.add({num(p.kp), str(phone), str(postcode), str("Россия"), num(66), str("Свердловская обл."),
               place.district_code ? num(place.district_code) : null(), str(place.district),
               place.city[0] ? num(branch ? 3 : 1) : null(), str(place.city), place.settlement[0] ? num(1) : null(),
               str(place.settlement), str(street), str(house), str(korp), str(flat), str(full)});

      const int age = static_cast<int>((today_ - p.birth) / 365.25);
      int ksem = age < 24 ? (rng_.chance(0.8) ? 1 : 2) : rng_.chance(0.65) ? 2 : rng_.chance(0.5) ? 3 : rng_.chance(0.8) ? 1 : 4;
      // Old contracts were not always numbered.
      std::string contract = rng_.chance(0.03) ? "" : "ТД-" + std::to_string(year_of(p.hire)) + "/" + std::to_string(p.tn);
      const BirthPlace& born = rng_.pick(kBirthPlaces);
      // PSTS set for a few, past and ahead: the bank registries leave them out.
      TDateTime psts = rng_.chance(0.02) ? today_ + (rng_.chance(0.5) ? -rng_.range(30, 900) : rng_.range(10, 200)) : 0;
      ob.add({num(p.kp), str(contract), date(p.hire), date(p.birth), num(ksem), str("Россия"), str(born.region),
              str(born.district), str(p.defect == kLongBirthPlace ? "Каменск-Уральский Свердловской области" : born.place),
              date(psts)});

      // Family: spouse, children, sometimes a parent.
      if (ksem == 2) {
        Person spouse = new_person(0, !p.female);
        spouse.surname = p.female ? feminine_surname_back(p.surname, false) : feminine_surname(p.surname);
        fam.add({num(next_unsd()), num(p.kp), str(spouse.fio()), date(p.birth + rng_.range(-1500, 1500)), num(p.female ? 1 : 2)});
      }
      if (ksem != 1 && age >= 24) {
        int children = rng_.range(0, 3);
        for (int k = 0; k < children; ++k) {
          TDateTime born = add_years(p.birth, rng_.range(22, 38));
          born += rng_.range(0, 300);
          if (born > today_) continue;
          bool girl = rng_.chance(0.5);
          const MaleName& father = p.female ? kMaleNames[rng_.next() % kMaleNameCount] : *father_of(p);
          std::string surname = p.female ? feminine_surname_back(p.surname, girl) : (girl ? feminine_surname(p.surname) : p.surname);
          std::string first = girl ? kFemaleNames[rng_.next() % kFemaleNameCount] : kMaleNames[rng_.next() % kMaleNameCount].name;
          fam.add({num(next_unsd()), num(p.kp), str(surname + " " + first + " " + (girl ? father.patronymic_female : father.patronymic_male)),
                   date(born), num(girl ? 4 : 3)});
        }
      }
      if (rng_.chance(0.2)) {
        const MaleName& grandfather = kMaleNames[rng_.next() % kMaleNameCount];
        std::string surname = p.female ? p.surname : feminine_surname(p.surname);
        fam.add({num(next_unsd()), num(p.kp), str(surname + " " + kFemaleNames[rng_.next() % kFemaleNameCount] + " " + grandfather.patronymic_female),
                 date(add_years(p.birth, -rng_.range(20, 35))), num(5)});
      }

      const bool active = p.dismissal == 0;
      if (active) sht.add({num(p.kp), num(rng_.range(1, 5))});
      if (active && rng_.chance(0.85)) mb.add({num(p.kp), num(4), str("408178101" + digits(rng_, 11))});
      bool seasonal = !p.head && !branch && (p.kp % 15 == 4 || rng_.chance(0.04));
      if (p.first_hire)
        mst.add({num(next_unsd()), num(p.kp), num(dept(p.events.front().st.dept).workplace), date(p.first_hire),
                 date(p.first_leave), num(0)});
      mst.add({num(next_unsd()), num(p.kp), num(seasonal ? 3 : dept(last.dept).workplace), date(p.hire), date(p.dismissal),
               num(seasonal ? 1 : 0)});
      if (p.kp % 10 == 5 || rng_.chance(0.05)) viip.add({num(next_unsd()), num(p.kp), num(rng_.range(1, 4))});

      // Maternity and child-care leave of young women at work.
      const bool young_woman = active && p.female && age >= 21 && age <= 40 && !p.head;
      if (young_woman && ((maternity < 2 && !branch) || rng_.chance(0.04))) {
        bool birth_leave = maternity % 2 == 0;
        ++maternity;
        // The first two are on leave today; the others' leave fell anywhere in the last two years.
        TDateTime from = today_ - (maternity <= 2 ? rng_.range(0, birth_leave ? 100 : 400) : rng_.range(0, 730));
        kpr.add({num(next_unsd()), num(p.kp), num(1), num(birth_leave ? 16 : 17), date(from),
                 date(from + (birth_leave ? 139 : 547))});
      } else if (young_woman && !branch && p.hire < today_ - 730 && staggered < 8) {
        // Birth leaves a quarter apart, and one child-care leave, over the last two years: every
        // quarter's part-time and movement form counts women on both kinds of leave.
        TDateTime from = today_ - 40 - 91 * staggered;
        kpr.add({num(next_unsd()), num(p.kp), num(1), num(16), date(from), date(from + 139)});
        if (staggered == 0)
          kpr.add({num(next_unsd()), num(p.kp), num(1), num(17), date(today_ - 900), date(today_ - 900 + 547)});
        ++staggered;
      }
    }
  }

  static const MaleName* father_of(const Person& p) {
    for (int i = 0; i < kMaleNameCount; ++i)
      if (p.name == kMaleNames[i].name) return &kMaleNames[i];
    return &kMaleNames[0];
  }
  // A child's surname from the mother's: the masculine form for a son.
  static std::string feminine_surname_back(const std::string& mother, bool girl) {
    if (girl) return mother;
    auto ends = [&](std::string_view tail) {
      return mother.size() >= tail.size() && mother.compare(mother.size() - tail.size(), tail.size(), tail) == 0;
    };
    if (ends("ая")) return mother.substr(0, mother.size() - 4) + "ий";
    if (ends("а")) return mother.substr(0, mother.size() - 2);
    return mother;
  }

  // ---- history, orders and service periods
  void history() {
    Table dvg(c_, "KDT2IIIDVG", {"UNSD", "KP", "DTO", "KTD", "OWNER", "KD", "NMDS", "NMDL", "OKL", "STV", "KAT", "KTPD",
                                 "KVR", "RZ", "KOSD", "PUP", "PEROST", "DTN", "BOOK"});
    Table itk(c_, "KDT2ITK", {"UNSD", "KP", "BOOK", "DTO", "DTU", "TSTG1", "TSTG2", "TSTG4", "TSTG8", "TSTG16",
                              "TSTG32", "TSTG64", "KF1", "KF2", "KF4", "KF8", "KF16", "KF32", "KF64"});
    Table stag(c_, "ZPSTAG", {"KP", "FD1", "FD3", "FD4"});

    for (auto& p : people_) {
      TDateTime hired = 0;
      for (auto& e : p.events) {
        if (e.ktd == 21 || e.ktd == 23) hired = e.date;
        e.unsd = next_unsd();
        orders_.try_emplace({e.date, e.ktd}, 0);
        const PositionDef& pos = position(e.st.pos);
        std::string longname = pos.name;
        if (e.st.kat == kWorker) longname += " " + std::to_string(e.st.rz) + " разряда";
        longname += " (" + dept(e.st.dept).fname + ")";
        dvg.add({num(e.unsd), num(p.kp), date(e.date), num(e.ktd), num(e.st.dept), num(e.st.pos), str(pos.name),
                 str(longname), real(e.st.okl), real(e.st.stv), num(e.st.kat), num(e.st.ktpd),
                 num(e.st.kvr), num(e.st.rz), e.kosd ? num(e.kosd) : null(), num(e.pup), num(e.perost),
                 date(hired), num(1)});
      }

      // Periods of the record book: earlier jobs, then this enterprise.
      auto period = [&](int book, TDateTime from, TDateTime to, bool here, bool continuous, bool industry, bool north) {
        itk.add({num(next_unsd()), num(p.kp), num(book), date(from), date(to), num(1), num(continuous ? 1 : 0),
                 num(industry ? 1 : 0), num(north ? 1 : 0), num(here ? 1 : 0), num(here ? 1 : 0), num(1), real(1),
                 real(1), real(1), north ? real(1.5) : null(), real(1), real(1), real(1)});
      };
      TDateTime start = add_years(p.birth, rng_.range(18, 22));
      start += rng_.range(0, 200);
      const TDateTime entry = p.first_hire ? p.first_hire : p.hire;
      TDateTime first = entry, continuous_from = p.hire;
      if (start < entry - 365) {
        int jobs = rng_.range(1, 3);
        TDateTime span = (entry - start) / jobs;
        for (int k = 0; k < jobs; ++k) {
          TDateTime from = std::floor(start + span * k);
          TDateTime to = std::floor(start + span * (k + 1)) - (k + 1 == jobs ? rng_.range(1, 60) : rng_.range(1, 20));
          if (to <= from) continue;
          if (k == 0) first = from;
          if (k + 1 == jobs && p.hire - to < 30 && !p.first_hire) continuous_from = from;
          const int book = rng_.chance(0.03) ? 0 : 1;
          const bool industry = rng_.chance(0.5);
          const bool north = rng_.chance(0.05);
          period(book, from, to, false, k + 1 == jobs && entry - to < 30, industry, north);
        }
      }
      if (p.first_hire) period(1, p.first_hire, p.first_leave, true, false, true, false);
      period(1, p.hire, p.dismissal, true, true, true, false);
      stag.add({num(p.kp), date(first), date(p.hire), date(continuous_from)});
    }
  }

  // Orders: numbered through each year in date order; every history row and vacation is a line.
  void write_orders(const std::vector<std::tuple<int, int, int, TDateTime>>& lines) {
    Table jz(c_, "KDSDJZ", {"UND", "KTD", "ND", "DTV"});
    Table js(c_, "KDSDJS", {"UNSD", "UND", "KP", "KTD", "DTO"});
    std::map<int, int> numbers;
    for (auto& [key, und] : orders_) {
      und = ++und_;
      int year = year_of(key.first);
      int n = ++numbers[year];
      jz.add({num(und), num(key.second), str(std::to_string(n) + (key.second == 31 || key.second == 32 ? "-о" : "-к")),
              date(key.first)});
    }
    for (const auto& [unsd, kp, ktd, when] : lines) js.add({num(unsd), num(orders_.at({when, ktd})), num(kp), num(ktd), date(when)});
  }

  // ---- staffing
  void staffing() {
    Table htro(c_, "KDHTRO", {"UNSD", "KP", "OWNER", "KD", "NKD", "NN", "KAT", "KTD", "KTHT", "KTPD", "OKL", "OPL", "RZ",
                              "STV", "KODPR", "DTO", "DTOK"});
    Table shti(c_, "OTZSHTI", {"UNSD", "KP", "KAT", "KODPR", "STV", "DTN", "DTOK"});
    auto nn_of = [&](int dept_kp, int pos) {
      auto& list = dept(dept_kp).positions;
      auto it = std::find(list.begin(), list.end(), pos);
      if (it == list.end()) {
        list.push_back(pos);
        return static_cast<int>(list.size());
      }
      return static_cast<int>(it - list.begin()) + 1;
    };
    // Employee lines: one per event that places the employee; the line closes the day before
    // the next one (or on the day of dismissal).
    std::map<std::pair<int, int>, double> occupied;  // (dept, position) -> rates at the reference date
    for (const auto& p : people_) {
      for (size_t i = 0; i < p.events.size(); ++i) {
        const Event& e = p.events[i];
        if (e.ktd >= 100) continue;
        TDateTime close = 0;
        if (i + 1 < p.events.size()) close = p.events[i + 1].ktd >= 100 ? p.events[i + 1].date : p.events[i + 1].date - 1;
        int opl = e.st.kat == kWorker ? 2 : 1;
        htro.add({num(e.unsd), num(p.kp), num(e.st.dept), num(e.st.pos), num(1), num(nn_of(e.st.dept, e.st.pos)),
                  num(e.st.kat), num(e.ktd), num(1), num(e.st.ktpd), real(e.st.okl), num(opl), num(e.st.rz),
                  real(e.st.stv), num(1), date(e.date), date(close)});
        if (close == 0) {
          occupied[{e.st.dept, e.st.pos}] += e.st.ktpd == 1 ? e.st.stv : 0;
          shti.add({num(next_unsd()), num(p.kp), num(e.st.kat), num(rng_.chance(0.03) ? 2 : 1), real(e.st.stv),
                    date(e.date), null()});
        }
      }
    }
    // Department rows and position lines, in force since the staffing was introduced.
    const TDateTime introduced = encode_date(year_ - 10, 1, 1);
    for (const auto& d : depts_) {
      if (d.level < 1) continue;
      htro.add({num(next_unsd()), num(0), num(d.kp), num(0), num(0), num(0), null(), num(1), num(1), num(1), null(),
                null(), null(), real(0), null(), date(introduced), null()});
      for (size_t i = 0; i < d.positions.size(); ++i) {
        int pos = d.positions[i];
        const PositionDef& def = position(pos);
        double busy = occupied.count({d.kp, pos}) ? occupied[{d.kp, pos}] : 0;
        double vacant = rng_.chance(0.25) ? (rng_.chance(0.5) ? 1.0 : 0.5) : 0;
        htro.add({num(next_unsd()), num(0), num(d.kp), num(pos), num(1), num(static_cast<int64_t>(i) + 1), num(def.kat),
                  num(1), num(1), num(1), real(def.salary), num(def.kat == kWorker ? 2 : 1), null(),
                  real(std::max(busy + vacant, 1.0)), num(1), date(introduced), null()});
        if (vacant > 0)
          shti.add({num(next_unsd()), num(0), num(def.kat), num(1), real(vacant), date(introduced), null()});
      }
    }
  }

  // ---- payroll: the last twelve months and the current one
  void payroll() {
    Table ls(c_, "ZPLS", {"FD", "KP", "DOL", "OKL", "UW"});
    Table lsdt(c_, "ZPLSDT", {"FD", "KP", "DOL", "UW"});
    Table pro(c_, "ZPLSPRO", {"FD", "KP", "PERI1", "SUM4", "SUM5"});
    for (int m = -12; m <= 0; ++m) {
      TDateTime fd = add_months(month_, m), fe = month_end(fd);
      for (const auto& p : people_) {
        if (p.hire > fe || (p.dismissal && p.dismissal < fd)) continue;
        TDateTime at = std::min(p.dismissal ? p.dismissal : fe, fe);
        const State& st = p.state_at(at);
        int uw = p.dismissal && p.dismissal <= fe ? 1 : 0;
        ls.add({date(fd), num(p.kp), num(st.pos), real(st.okl), num(uw)});
        if (m >= -2) lsdt.add({date(fd), num(p.kp), num(st.pos), num(uw)});
        double from = std::max(p.hire, fd), to = std::min(at, fe);
        double share = (to - from + 1) / (fe - fd + 1);
        double accrued = std::round(st.okl * st.stv * share * 100) / 100;
        double bonus = std::round(accrued * (0.1 + 0.02 * (p.kp % 10)) * 100) / 100;
        pro.add({date(fd), num(p.kp), num(st.dept), real(accrued), real(accrued + bonus)});
      }
    }
  }

  // ---- vacations: schedules of this year and the next, vacations granted
  void vacations() {
    Table go(c_, "KDVIIIGO", {"KP", "YYEAR"});
    Table per(c_, "KDVIIIGOPER", {"UNSD", "KP", "YYEAR", "DT", "DAYS"});
    Table ot(c_, "KDT2VIIIO", {"UNSD", "KP", "DTO", "DKO", "KOLVO", "KOLVD", "KOLDKS", "KOLDKP", "KVOT", "PRO"});
    Table otd(c_, "KDT2VIIIOD", {"UNSD", "NN", "KOLD"});
    std::vector<std::tuple<int, int, int, TDateTime>> lines;
    for (const auto& p : people_)
      for (const auto& e : p.events) lines.emplace_back(e.unsd, p.kp, e.ktd, e.date);

    auto monday_in = [&](int y, int m) {
      TDateTime d = encode_date(y, m, 1);
      while (weekday(d) != 0 || public_holiday(d)) d += 1;
      int weeks = (text::days_in_month(y, m) - decode_date(d).day) / 7;
      return d + 7 * rng_.range(0, std::max(0, weeks - 1));
    };
    auto grant = [&](const Person& p, TDateTime from, int days, int kind, int pro_flag) {
      int unsd = next_unsd();
      TDateTime order = from - rng_.range(3, 14);
      if (order < p.hire) order = from;
      // Three extra days for some, never past a dismissal.
      int extra = kind == 1 && rng_.chance(0.2) && (p.dismissal == 0 || from + days + 3 <= p.dismissal) ? 3 : 0;
      ot.add({num(unsd), num(p.kp), date(from), date(from + days + extra - 1), num(days), num(extra), num(0), num(0),
              num(kind), num(pro_flag)});
      otd.add({num(unsd), num(1), num(days)});
      if (extra) otd.add({num(unsd), num(2), num(extra)});
      int ktd = kind == 5 ? 32 : 31;
      orders_.try_emplace({order, ktd}, 0);
      lines.emplace_back(unsd, p.kp, ktd, order);
    };

    for (const auto& p : people_) {
      const bool active = p.dismissal == 0;
      for (int y = year_ - 1; y <= year_ + 1; ++y) {
        // Parts of 28 days: 14 + 14, 28, or 14 + 7 + 7, in different months.
        int pattern = rng_.range(0, 9);
        std::vector<int> parts = pattern < 5 ? std::vector<int>{14, 14} : pattern < 8 ? std::vector<int>{28} : std::vector<int>{14, 7, 7};
        std::vector<int> months;
        while (months.size() < parts.size()) {
          int m = rng_.range(1, 12);
          if (std::find(months.begin(), months.end(), m) == months.end()) months.push_back(m);
        }
        std::sort(months.begin(), months.end());
        bool planned = y >= year_ && active;
        if (planned) go.add({num(p.kp), num(y)});
        for (size_t k = 0; k < parts.size(); ++k) {
          TDateTime start = monday_in(y, months[k]);
          if (start < p.hire + 180) continue;
          if (planned) per.add({num(next_unsd()), num(p.kp), num(y), date(start), num(parts[k])});
          // Vacations of the past are granted by orders, some a few days off the plan.
          TDateTime actual = rng_.chance(0.2) ? start + 7 : start;
          if (actual + parts[k] <= today_ && (p.dismissal == 0 || actual + parts[k] < p.dismissal))
            grant(p, actual, parts[k], 1, rng_.chance(0.03) ? 1 : 0);
        }
      }
      // Unpaid leave of a few days lately.
      const bool branch = dept(p.events.back().st.dept).workplace == 2;
      if (active && ((p.kp % 20 == 7 && !branch) || rng_.chance(0.05))) {
        TDateTime from = p.kp % 20 == 7 ? std::max(month_, today_ - rng_.range(1, 12)) : today_ - rng_.range(5, 60);
        if (from > p.hire) grant(p, from, rng_.range(1, 5), 5, 0);
      }
      // Unpaid leave of up to two weeks over the last two years.
      if (rng_.chance(0.06)) {
        const TDateTime since = encode_date(year_ - 1, 1, 1);
        TDateTime from = since + rng_.range(0, static_cast<int>(today_ - since));
        int days = rng_.range(1, 14);
        if (from > p.hire + 30 && from + days - 1 <= (active ? today_ : p.dismissal - 1)) grant(p, from, days, 5, 0);
      }
    }
    write_orders(lines);
  }

  // ---- education, courses and military registration
  void education_and_military() {
    Table obr(c_, "KDT2IOBR", {"UNSD", "KP", "KOBR", "KWUZ", "KSCI", "KKWD", "KKSD", "KFOB", "KTZO", "DTK", "NDPL"});
    Table vpk(c_, "KDT2VPK", {"UNSD", "KP", "DTO", "DTK", "DAYS", "KVPK", "KUPKV", "KTMK", "NTMK", "NOS", "DWS", "SUMM"});
    Table wu(c_, "KDT2IIWU", {"KP", "KOWS", "WUS", "KSWU", "KWZV", "KRWK", "KKWU", "KGWU", "KVWU", "MOB", "NSU"});
    const char* const topics_office[] = {"Охрана труда для руководителей и специалистов",
                                         "Изменения в трудовом законодательстве",
                                         "Бухгалтерский и налоговый учет: изменения года",
                                         "Управление проектами", "Бережливое производство",
                                         "Кадровое делопроизводство", "Промышленная безопасность"};
    const char* const topics_workers[] = {"Работа на станках с ЧПУ", "Электробезопасность (III группа допуска)",
                                          "Охрана труда при работе на высоте", "Обучение второй профессии: стропальщик",
                                          "Сварка неповоротных стыков", "Пожарно-технический минимум"};
    int course_no = 0;
    for (const auto& p : people_) {
      const State& st = p.events.back().st;
      const int age = static_cast<int>((today_ - p.birth) / 365.25);
      auto finished = [&](int at) { return std::min(add_years(p.birth, at) + rng_.range(150, 200), today_); };
      // The highest level is the main record (KTZO 1); a school record below it has KTZO 2.
      int kind = st.kat == kManager ? 0 : st.kat == kSpecialist ? (rng_.chance(0.85) ? 0 : 1) : rng_.range(0, 9) == 0 ? 0 : rng_.range(1, 9);
      // kind: 0 university, 1..5 college, 6 incomplete higher, 7..8 secondary school, 9 basic school.
      if (kind == 6 && age < 21) kind = 7;
      const bool school_only = kind >= 7;
      obr.add({num(next_unsd()), num(p.kp), num(kind == 9 ? 5 : 4), num(10), null(), null(), null(), num(1),
               num(school_only ? 1 : 2), date(finished(kind == 9 ? 15 : 17)), str("А" + digits(rng_, 7))});
      if (kind == 0) {
        int inst = rng_.range(1, 5);
        bool studying = age < 23 || (age < 26 && rng_.chance(0.3));
        obr.add({num(next_unsd()), num(p.kp), num(rng_.chance(0.15) ? 8 : 1), num(inst), num(rng_.range(1, 8)),
                 num(rng_.range(1, 5)), num(rng_.range(1, 8)), num(studying ? 3 : 1), num(1),
                 studying ? null() : date(finished(22)), str("ВСГ " + digits(rng_, 7))});
        if (st.kat != kWorker && age > 35 && rng_.chance(0.04))
          obr.add({num(next_unsd()), num(p.kp), num(1), num(inst), num(rng_.chance(0.7) ? 9 + rng_.range(0, 1) : 11),
                   null(), null(), num(1), num(3), date(finished(rng_.range(30, age))), str("КТ " + digits(rng_, 6))});
      } else if (kind <= 5) {
        bool studying = age < 20 || (age < 22 && rng_.chance(0.4));
        obr.add({num(next_unsd()), num(p.kp), num(rng_.chance(0.6) ? 3 : 28), num(rng_.range(6, 9)),
                 num(rng_.pick(std::vector<int>{1, 5, 6, 12})), num(rng_.range(6, 9)), num(rng_.range(4, 6)),
                 num(studying ? 3 : 1), num(1), studying ? null() : date(finished(20)), str("СПА " + digits(rng_, 7))});
      } else if (kind == 6) {
        obr.add({num(next_unsd()), num(p.kp), num(2), num(rng_.range(1, 5)), num(rng_.range(1, 8)), null(), null(),
                 num(rng_.chance(0.5) ? 3 : 1), num(1), date(finished(20)), str("")});
      }

      // Courses over the last three years; some employees have one in the current month.
      int courses = rng_.chance(0.35) ? rng_.range(1, 3) : 0;
      if (p.dismissal == 0 && (p.kp % 10) == 2) courses = std::max(courses, 1);
      for (int k = 0; k < courses; ++k) {
        TDateTime from = k == 0 && (p.kp % 10) == 2 ? month_ + rng_.range(0, std::min(4, static_cast<int>(today_ - month_))) : today_ - rng_.range(20, 3 * 365);
        if (from < p.hire || (p.dismissal && from > p.dismissal)) continue;
        int days = rng_.range(1, 10);
        TDateTime to = from + days - 1;
        TDateTime doc = std::min(to, today_);
        bool worker = st.kat == kWorker;
        vpk.add({num(next_unsd()), num(p.kp), date(from), date(to), num(days), num(rng_.range(1, 5)),
                 num(rng_.range(1, 3)), num(worker ? rng_.range(1, 4) : rng_.range(2, 3)),
                 str(worker ? rng_.pick(topics_workers) : rng_.pick(topics_office)),
                 str("Удост. N" + std::to_string(++course_no)), date(doc), real(rng_.range(5, 40) * 1000.0)});
      }

      // Military registration: men of reserve age (every man with a gap in his data), a few women.
      if ((!p.female && age <= 65 && (p.defect >= 0 || rng_.chance(0.9))) || (p.female && rng_.chance(0.04))) {
        int kows = age > 60 ? 3 : rng_.chance(0.04) ? 0 : rng_.chance(0.1) ? 2 : 1;
        int kswu = p.female ? 1 : rng_.range(1, 100) <= 70 ? 1 : rng_.range(1, 100) <= 60 ? 2 : rng_.chance(0.3) ? 3 : 4;
        int kwzv = kswu == 1 ? rng_.range(1, 2) : kswu == 2 ? rng_.range(3, 6) : kswu == 3 ? rng_.range(7, 8) : rng_.range(9, 12);
        int krwk = dept(st.dept).workplace == 2 ? 3 : rng_.range(1, 2);
        const char* const specialties[] = {"100182", "837037", "113194", "461185", "106646", "420101", "021101"};
        wu.add({num(p.kp), num(kows), str(rng_.pick(specialties)), num(kswu), num(kwzv), num(krwk),
                num(age <= 35 && kswu == 1 ? 1 : 2), num(rng_.chance(0.1) ? 2 : 1), num(kows == 2 ? 2 : 1),
                str(kows == 2 ? "Забронирован за предприятием" : ""), str(rng_.chance(0.85) ? "А" : "Б")});
      }
    }
  }

  // ---- enterprise requisites and settings rows
  void enterprise_and_settings() {
    const Person* director = find_head(find_dept("Администрация")->kp);
    const Person* accountant = find_head(find_dept("Бухгалтерия")->kp);
    const Person* deputy = find_head(find_dept("Коммерческая служба")->kp);
    const Person* personnel = find_head(find_dept("Отдел кадров")->kp);
    const Person* cashier = accountant;
    for (const auto& p : people_)
      if (p.dismissal == 0 && p.events.back().st.pos == 44) {
        cashier = &p;
        break;
      }
    Table pasp(c_, "ZPPASP", {"P", "N", "INN", "IND", "KODREG", "RAION", "GOROD", "NASP", "DOM", "KORP", "KWART", "TEL",
                              "BUH", "NASH", "GNI"});
    pasp.add({num(1), str("АО \"Уралстанкомаш\""), str("6661004522"), str("620012"), num(66), str(""), str("Екатеринбург"),
              str(""), str("18"), str(""), str(""), str("(343) 234-56-78"), num(accountant->kp), num(director->kp),
              num(6679)});
    Table pasp1(c_, "ZPPASP1", {"P", "N", "OKPO", "OGRN", "KPP", "OKATO", "OKTMO", "OKWED", "OKONH", "OKFS", "OKOGU",
                                "OKOPF", "OKDP", "RGPF", "RGFSS", "RGFOMS", "ZAMDIR", "KASSIR", "NACHOK", "RASH"});
    pasp1.add({num(1), str("Акционерное общество \"Уральский станкостроительный завод\""), str(kOkpo), str("1026605227923"),
               str("667901001"), str("65401385000"), str("65701000001"), str("28.41"), str("14164"), str("16"),
               str("4210014"), str("12267"), str("2922000"), str("075-030-001234"), str("6609001234"),
               str("656010123456789"), num(deputy->kp), num(cashier->kp), num(personnel->kp), num(0)});
    Table pasp2(c_, "ZPPASP2", {"P", "BSKS", "BSKSS", "BSKK", "NDFLFB", "TRAVM", "PROF", "PERKOP", "DOSTAV", "ESNKOP",
                                "KBU", "USN", "KBUO"});
    pasp2.add({num(1), num(1), num(0), num(0), real(13), real(0.2), real(1), real(0), real(0), real(30), num(1), num(0),
               num(0)});
    Table kpv(c_, "ZPKPV", {"K", "N", "PR"});
    kpv.add({num(99), str("АО \"Уралстанкомаш\""), num(1)});
    kpv.add({num(1), str("Филиал в г. Каменск-Уральский"), num(2)});

    Table spconst(c_, "SPCONST", {"IDCONST", "NAME", "CNST"});
    spconst.add({str("KDRTEL"), str("Телефон отдела кадров"), str("3432345678")});
    spconst.add({str("DOPSOGLFIO"), str("Подписант доп. соглашений"), str(genitive_male(*director))});
    spconst.add({str("DOPSOGLDOL"), str("Должность подписанта"), str("Генерального директора")});
    Table uuk(c_, "SPUUK", {"UU", "DT"});
    uuk.add({num(1), date(month_)});
    uuk.add({num(2), date(month_end(month_))});
    uuk.add({num(3), date(month_)});
    Table consth(c_, "CONSTH", {"C_KEY", "C_D"});
    consth.add({str("ZPOTZKDR"), str("1")});
    Table verb(c_, "VERBASSM", {"IDSMX", "IDCLIENT", "IDKPV"});
    verb.add({num(0), num(1), num(99)});
  }
};

}  // namespace

void fill_demo_database(db::Connection& connection, const DemoOptions& options, const Progress& progress) {
  if (options.employees < 1 || options.employees > 30000)
    throw std::invalid_argument("The number of employees must be between 1 and 30000");
  Builder(connection, options, progress).run();
}

void build_demo_database(const DemoOptions& options, const Progress& progress) {
  if (options.employees < 1 || options.employees > 30000)
    throw std::invalid_argument("The number of employees must be between 1 and 30000");
  db::Connection::create(options.database).reset();
  // Loading with synchronous page writes would wait on the disk for every page.
  set_forced_writes(options.database, false);
  {
    auto connection = db::Connection::open(options.database);
    connection->execute_script(schema_sql());
    connection->execute_script(zpclients_sql());
    fill_demo_database(*connection, options, progress);
  }
  set_forced_writes(options.database, true);
}

}  // namespace hrdoc::demo
