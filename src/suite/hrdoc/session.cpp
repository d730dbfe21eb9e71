#include "suite/hrdoc/session.h"

#include <memory>

#include "db/database.h"
#include "host/compark.h"
#include "host/domain.h"
#include "host/udm.h"
#include "ui/stop.h"
#include "ui/ui.h"

namespace hrdoc::host {

struct Session::Impl {
  std::unique_ptr<db::Connection> connection;
  // Destroyed before the connection: a stop request never reaches a closed one.
  std::unique_ptr<ui::OnStop> cancel;
  std::unique_ptr<Tdm> dm;
  compark* ctx = nullptr;
};

Session::Session() : impl_(std::make_unique<Impl>()) {}

Session::~Session() {
  if (impl_->ctx && impl_->ctx->ext().dm == impl_->dm.get()) impl_->ctx->ext().dm = nullptr;
}

namespace {

bool error_box(compark& ctx, const std::string& text) {
  ctx.ui()->message_box("Ошибка", text, hrdoc::ui::MB_ICONERROR);
  return false;
}

// What the user is told when a connection cannot be made.
std::string connect_failure(const std::string& database, const db::ConnectOptions& options, const db::Error& e) {
  std::string host = database.substr(0, database.find(':'));
  std::string port = "3050";
  if (auto slash = host.find('/'); slash != std::string::npos) {
    port = host.substr(slash + 1);
    host.resize(slash);
  }
  switch (e.failure()) {
    case db::Failure::login: {
      const std::string user = db::with_environment(options).user;
      return "Сервер Firebird " + host + " отказал во входе: неверное имя пользователя или пароль (пользователь " +
             user + ")";
    }
    case db::Failure::host_not_found: return "Сервер Firebird не найден: имя узла \"" + host + "\" неизвестно";
    case db::Failure::unreachable:
      return "Сервер Firebird " + host + " не отвечает на порту " + port + ": сервер не запущен или порт закрыт";
    case db::Failure::timeout:
      return "Сервер Firebird " + host + ":" + port + " не ответил за " + std::to_string(options.connect_wait) + " с";
    default: return "Не удалось открыть базу данных " + database + "\n" + e.message();
  }
}

}  // namespace

bool Session::connect(compark& ctx, const std::string& database, const db::ConnectOptions& options) {
  try {
    impl_->connection = db::Connection::open(database, options);
  } catch (const db::Error& e) {
    return error_box(ctx, connect_failure(database, options, e));
  }
  db::Connection* connection = impl_->connection.get();
  connection->set_stop_check([] { return ui::stop_requested(); });
  impl_->cancel = std::make_unique<ui::OnStop>([connection] { connection->cancel(); });
  impl_->dm = std::make_unique<Tdm>(*impl_->connection);
  impl_->ctx = &ctx;
  ctx.ext().dm = impl_->dm.get();
  try {
    ctx.ref_comp();
  } catch (const std::exception& e) {
    return error_box(ctx, "Не удалось прочитать настройки пользователя " + ctx.user() + " из базы данных " +
                              database + "\n" + e.what());
  }
  // ini_ZPPASP shows its own message when it fails.
  return ctx.ini_ZPPASP() == 0;
}

bool Session::select_department(compark& ctx, int kp) {
  if (!impl_->connection || kp == 0) {
    ctx.set_department(kp, 0, "");
    return true;
  }
  try {
    auto found = impl_->dm->FindDepartment(kp);
    if (!found)
      return error_box(ctx, "Подразделение с кодом " + std::to_string(kp) + " не найдено в базе данных " +
                                impl_->connection->database());
    ctx.set_department(kp, found->tn, found->sname);
    return true;
  } catch (const db::Error& e) {
    return error_box(ctx, "Не удалось прочитать подразделение " + std::to_string(kp) + "\n" + e.message());
  }
}

void Session::select_enterprise_if_none(compark& ctx) {
  if (!impl_->connection || ctx.KP != 0) return;
  try {
    // Key 0 is the whole enterprise (the statements' "0 = all"), named by the root of the tree;
    // the root's own key would select only what hangs close enough below it.
    if (auto root = impl_->dm->FindDepartment(domain::kRootDepartment)) ctx.set_department(0, root->tn, root->sname);
  } catch (const db::Error&) {
    // No tree to read: the reports name the department themselves.
  }
}

}  // namespace hrdoc::host
