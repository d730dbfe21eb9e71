#include "suite/hrdoc/session.h"

#include <memory>

#include "db/database.h"
#include "host/compark.h"
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

Session::Session() : impl_(new Impl) {}

Session::~Session() {
  if (impl_->ctx && impl_->ctx->ext().dm == impl_->dm.get()) impl_->ctx->ext().dm = nullptr;
  delete impl_;
}

namespace {

bool error_box(compark& ctx, const std::string& text) {
  ctx.ui()->message_box("Ошибка", text, hrdoc::ui::MB_ICONERROR);
  return false;
}

}  // namespace

bool Session::connect(compark& ctx, const std::string& database) {
  try {
    impl_->connection = db::Connection::open(database);
  } catch (const db::Error& e) {
    return error_box(ctx, "Не удалось открыть базу данных " + database + "\n" + e.message());
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

}  // namespace hrdoc::host
