#include "suite/kvdlg/department_lookup.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>

#include "db/database.h"
#include "host/compark.h"
#include "host/domain.h"
#include "host/udm.h"
#include "ui/ui.h"

namespace hrdoc::suite {

bool lookup_department(compark* ctx, int kp, int32_t& tn, std::string& sname) {
  tn = 0;
  sname.clear();
  if (ctx == nullptr || kp < 0) return false;
  Tdm* dm = ctx->data_module();
  if (!dm || !dm->ADOConnection) return true;
  try {
    auto found = dm->FindDepartment(kp);
    if (!found) return false;
    tn = found->tn;
    sname = found->sname;
    return true;
  } catch (const db::Error& e) {
    if (ctx->ui())
      ctx->ui()->message_box("Ошибка", "Не удалось прочитать подразделение " + std::to_string(kp) + "\n" + e.message(),
                             hrdoc::ui::MB_ICONERROR);
    return false;
  }
}

namespace {

constexpr const char* kDepartments = R"(select KP, OWNER, SNAME from OTZKPN where TN=0 order by SNAME, KP)";

// The keys written in an entry: "12, 15", or "10 Цех № 1" where a look-up put the name after
// the key.
std::vector<long long> entry_keys(const std::string& text) {
  std::vector<long long> keys;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, ',')) {
    char* end = nullptr;
    long long k = std::strtoll(part.c_str(), &end, 10);
    if (end != part.c_str()) keys.push_back(k);
  }
  return keys;
}

}  // namespace

bool department_tree(compark* ctx, ui::Tree& tree) {
  tree.nodes.clear();
  Tdm* dm = ctx ? ctx->data_module() : nullptr;
  if (!dm || !dm->ADOConnection) return false;
  struct Row {
    long long kp, owner;
    std::string name;
  };
  std::vector<Row> rows;
  try {
    db::Query q(*dm->ADOConnection);
    q.sql(kDepartments);
    q.open();
    for (q.first(); !q.eof(); q.next())
      rows.push_back({q.field("KP").as_int(), q.field("OWNER").as_int(), q.field("SNAME").as_string()});
  } catch (const db::Error& e) {
    if (ctx->ui())
      ctx->ui()->message_box("Ошибка", "Не удалось прочитать дерево подразделений\n" + e.message(),
                             hrdoc::ui::MB_ICONERROR);
    return false;
  }
  std::map<long long, std::vector<size_t>> children;
  std::map<long long, bool> present;
  for (const auto& r : rows) present[r.kp] = true;
  std::vector<size_t> tops;
  for (size_t i = 0; i < rows.size(); ++i) {
    // A node whose owner is no department (0, an employee, a missing row) stands at the top.
    if (rows[i].owner != rows[i].kp && present.count(rows[i].owner))
      children[rows[i].owner].push_back(i);
    else
      tops.push_back(i);
  }
  // Depth first, so that every parent comes before its children; a cycle is cut where it closes.
  std::vector<bool> placed(rows.size(), false);
  std::function<void(size_t, int)> place = [&](size_t i, int parent) {
    if (placed[i]) return;
    placed[i] = true;
    const int index = static_cast<int>(tree.nodes.size());
    tree.nodes.push_back({rows[i].kp, parent, rows[i].name});
    for (size_t c : children[rows[i].kp]) place(c, index);
  };
  for (size_t i : tops) place(i, -1);
  for (size_t i = 0; i < rows.size(); ++i) place(i, -1);
  return true;
}

bool pick_department(compark* ctx, ui::Field& self) {
  ui::Tree tree;
  if (!department_tree(ctx, tree) || tree.nodes.empty()) return false;
  const std::vector<long long> keys = entry_keys(self.value);
  const int chosen = ctx->ui()->choose_node("Подразделение", tree, keys.empty() ? -1 : tree.find(keys[0]));
  if (chosen < 0) return false;
  const auto& node = tree.nodes[static_cast<size_t>(chosen)];
  // The root of the tree is the whole enterprise, key 0: its own key selects only what hangs
  // close below it.
  const long long key = node.key == domain::kRootDepartment ? 0 : node.key;
  self.value = std::to_string(key) + " " + node.name;
  return true;
}

bool tick_departments(compark* ctx, ui::Field& self) {
  ui::Tree tree;
  if (!department_tree(ctx, tree) || tree.nodes.empty()) return false;
  const std::vector<long long> keys = entry_keys(self.value);
  std::vector<bool> ticks(tree.nodes.size(), false);
  for (size_t i = 0; i < tree.nodes.size(); ++i)
    ticks[i] = std::find(keys.begin(), keys.end(), tree.nodes[i].key) != keys.end();
  if (!ctx->ui()->tick_nodes("Набор подразделений", tree, ticks)) return false;
  std::string text;
  for (size_t i = 0; i < tree.nodes.size(); ++i)
    if (ticks[i]) text += (text.empty() ? "" : ",") + std::to_string(tree.nodes[i].key);
  self.value = text;
  return true;
}

}  // namespace hrdoc::suite
