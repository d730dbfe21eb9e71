#pragma once
// The host context record: its layout is shared with the host, so every member that fits
// its slot keeps the byte offset the suite fixed for it (checked in compark.cpp). Members
// that are pointers or reference-counted strings in the 32-bit layout live in the extension
// area (compark::Ext) and their 4-byte slots stay reserved.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

class Tdm;
namespace hrdoc::ui {
class Ui;
}

// Days since 30.12.1899; the fraction is the time of day.
using TDateTime = double;

// Employee-and-department record filled by compark::f_skpw. Strings are UTF-8.
struct skpw {
  int32_t format_code = 0;  // K of ZPKPV row PR = 1; 99: the enterprise name is the top level
  uint16_t kp_top = 0;
  uint16_t kp_second = 0;
  uint16_t kp_third = 0;
  uint16_t kp_employee = 0;
  int32_t tn = 0;
  std::string employee_sname, employee_fname;
  std::string third_sname, third_fname;
  std::string second_sname, second_fname;
  std::string top_sname, top_fname;
  std::string enterprise_name;
};

// Message-box kinds of armerr.
enum : int {
  kArmQuestion = -2,      // "Предупреждение", Yes/No
  kArmQuestionNo = -1,    // the same with "No" as the default button
  kArmError = 1,          // "Ошибка"
  kArmInformation = 2,    // "Информация"
};

// Version of the calling convention shared by the host and every library of the suite.
inline constexpr int kInterfaceVersion = 0xEED9;  // 61145

class compark {
 public:
  // What does not fit the fixed block. All text is UTF-8.
  struct Ext {
    Tdm* dm = nullptr;
    hrdoc::ui::Ui* ui = nullptr;
    std::string user;  // the logged-in user's name (slot 792)
    // Enterprise requisites loaded by ini_ZPPASP (string slots 828..900, 972..992).
    std::string INN, N, OGRN, OKATO, OKWED, OKDP, OKOGU, OKONH, OKOPF, OKFS, OKPO, KPP, RGPF,
        RGFSS, RGFOMS, OKTMO;
    std::string BUHSNAME, BUHFNAME, KASSNAME, KASFNAME, ZAMDSNAME, ZAMDFNAME;
    std::string str1056, str1060;  // host strings joined into the order-lock text
    int* kpsew = nullptr;          // department set (slot 1392): [0] = n, [1..n] = keys
    std::string host_path;         // the host executable, for the per-computer settings file
    std::string template_dir;      // where mopenx finds templates; ends with '/'
    std::string work_dir;          // where mopenx puts its work copies; ends with '/'
    std::string out_dir;           // where finished documents go (empty: they stay in work_dir)
    std::string document_code;     // the running report's code, which names its document
    int office = 0;                // spreadsheet backend of this run: 0 native engine, 1 LibreOffice
  };

  compark();
  ~compark();
  compark(const compark&) = delete;
  compark& operator=(const compark&) = delete;

  Ext& ext() { return *ext_; }
  const Ext& ext() const { return *ext_; }
  Tdm* data_module() const { return ext_->dm; }
  hrdoc::ui::Ui* ui() const { return ext_->ui; }
  std::string& user() { return ext_->user; }

  // Sets D, D1 and D2 with their day, month and year parts.
  void set_dates(TDateTime d, TDateTime d1, TDateTime d2);
  // Sets the selected department's key and short name (UTF-8, stored as Windows-1251).
  void set_department(int32_t kp, int32_t tn, const std::string& sname_utf8);
  // The selected department's short name as UTF-8.
  std::string department_name() const;
  // Replaces the department set; an empty list empties it.
  void replace_kpsew(const std::vector<int>& keys);
  // The department set's keys (empty when there is no set).
  std::vector<int> kpsew_keys() const;

  // Entry point and dispatch.
  // Calls command of the sibling library "<lib_dir><library>.so"; up to ten values follow.
  template <class... Args>
  int l_call(const char* library, const char* command, Args... args) {
    static_assert(sizeof...(Args) <= 10, "l_call passes at most ten values");
    return l_call_values(library, command, {to_value(args)...});
  }
  int l_call_values(const char* library, const char* command,
                    std::initializer_list<intptr_t> values);

  int armerr(const std::string& text);
  int armerr(int kind, const std::string& text);
  int armerr(int kind, const char* text);
  int armerr(int kind, const char* caption, const char* text);

  // Database session and shared queries.
  std::optional<int64_t> GetGEN_ID(int index, int increment, bool raise);
  std::optional<int64_t> GetUND_ID(bool raise);
  std::optional<int64_t> GetUNSD_ID(bool raise);
  bool GetLocEx(const std::string& key);
  bool SetLocEx(const std::string& key, bool lock);
  std::string GetMonopol();
  void SetMonopol(const std::string& value);
  std::string GetDopUsrMon();
  void SetDopUsrMon(const std::string& value);
  int KpSewCount() const;
  int KpSew(int i) const;
  bool KpInKpSew(int key) const;
  int* GetCopyKpSew() const;
  void SetKpSew(const int* set);
  void SetKpSew(int key);
  void LoadKpSewFromZPClients();
  std::string GetKpSewForWhere(const std::string& expression) const;
  void ref_comp();
  int ini_ZPPASP();

  // Date, money and number routines. Text in and out is Windows-1251, as at the C interface.
  std::string getWriteMonth(TDateTime date, char form);
  std::string getWriteMonthM(uint16_t month, char form);
  int summa(double amount, char* out);
  int zahls(const char* digits, char* out);
  void ldsd(char* out, double value, int decimals);
  void sldd(const char* text, double* value);
  void rndd(double* value, int decimals);
  int dzero(double value);
  int f_skpw(uint16_t key, TDateTime date, skpw* record);
  int mopenx(const char* name, char* out, const char* extension);

  // The fixed block. Offsets are asserted in compark.cpp.
  int32_t reserved0_ = 0;
  uint32_t dm_slot_ = 0;  // 4: the data module, see Ext::dm
  int32_t reserved8_ = 0;
  char lib_dir[252] = {};  // 12: folder of the suite's libraries, ending with '/'
  TDateTime D = 0, D1 = 0, D2 = 0;  // 264, 272, 280
  uint16_t d_day = 0, d_month = 0, d_year = 0;     // 288
  uint16_t d1_day = 0, d1_month = 0, d1_year = 0;  // 294
  uint16_t d2_day = 0, d2_month = 0, d2_year = 0;  // 300
  char SNAME[41] = {};                             // 306: Windows-1251
  char pad347_ = 0;
  int32_t TN = 0;  // 348
  int32_t KP = 0;  // 352: 0 = the whole enterprise
  char reserved356_[86] = {};
  uint16_t list_order = 0;  // 442: 0 by name, 1 by personnel number, 2 by staffing order
  char reserved444_[44] = {};
  TDateTime payroll_month = 0;  // 488: DT of SPUUK UU = 3
  TDateTime spuuk_dt1 = 0;      // 496: DT of SPUUK UU = 1
  TDateTime spuuk_dt2 = 0;      // 504: DT of SPUUK UU = 2
  int32_t keyf_context = 0;     // 512
  uint8_t flag516 = 0;          // 516: ref_comp sets it to 2
  char reserved517_[267] = {};
  int32_t oracle = 0;  // 784: generators unavailable
  int32_t reserved788_ = 0;
  uint32_t user_slot_ = 0;  // 792: see Ext::user
  char reserved796_[8] = {};
  int32_t trace_l_call = 0;  // 804
  char reserved808_[8] = {};
  int32_t GNI = 0, NASH = 0, BUH = 0;  // 816, 820 (director), 824
  uint32_t inn_slot_ = 0;              // 828
  int32_t RASH = 0, KASSIR = 0, ZAMDIR = 0;  // 832, 836, 840
  uint32_t string_slots844_[15] = {};        // 844..900
  uint8_t BSKS = 0, BSKSS = 0;               // 904, 905
  char pad906_[2] = {};
  int32_t BSKK = 0;  // 908
  double NDFLFB = 0, TRAVM = 0, PROF = 0, PERKOP = 0, DOSTAV = 0, ESNKOP = 0;  // 912..952
  uint8_t KBU = 0;  // 960
  char pad961_[3] = {};
  int32_t IDCLIENT = 0, IDKPV = 0;       // 964, 968
  uint32_t name_slots972_[6] = {};       // 972..992
  char reserved996_[20] = {};
  int32_t USN = 0, KBUO = 0;  // 1016, 1020
  char reserved1024_[32] = {};
  uint32_t string_slots1056_[2] = {};  // 1056, 1060
  char reserved1064_[320] = {};
  int32_t ZPOTZKDR = -1;  // 1384
  int32_t NACHOK = 0;     // 1388: head of the personnel department
  uint32_t kpsew_slot_ = 0;  // 1392: see Ext::kpsew
  uint32_t reserved1396_ = 0;
  Ext* ext_;  // after the fixed block; owned

 private:
  template <class T>
  static intptr_t to_value(T v) {
    if constexpr (std::is_pointer_v<T>)
      return reinterpret_cast<intptr_t>(v);
    else
      return static_cast<intptr_t>(v);
  }
};

// The host's objects, set by every call of main_dll.
extern "C" {
extern compark* c_p;
extern Tdm* dm;
}
