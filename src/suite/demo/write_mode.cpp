#include "suite/demo/write_mode.h"

#include <firebird/Interface.h>

#include "db/database.h"

namespace hrdoc::demo {

void set_forced_writes(const std::string& database, bool on) {
  const db::ConnectOptions login = db::with_environment({});
  using namespace Firebird;
  IMaster* master = fb_get_master_interface();
  IStatus* raw = master->getStatus();
  ThrowStatusWrapper status(raw);
  IXpbBuilder* dpb = nullptr;
  IProvider* provider = nullptr;
  try {
    dpb = master->getUtilInterface()->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0);
    dpb->insertString(&status, isc_dpb_user_name, login.user.c_str());
    if (!login.password.empty()) dpb->insertString(&status, isc_dpb_password, login.password.c_str());
    dpb->insertInt(&status, isc_dpb_force_write, on ? 1 : 0);
    provider = master->getDispatcher();
    IAttachment* att = provider->attachDatabase(&status, database.c_str(), dpb->getBufferLength(&status),
                                                dpb->getBuffer(&status));
    att->detach(&status);
    provider->release();
    dpb->dispose();
    status.dispose();
  } catch (const FbException& e) {
    char text[512] = {};
    master->getUtilInterface()->formatStatus(text, sizeof text - 1, e.getStatus());
    if (provider) provider->release();
    if (dpb) dpb->dispose();
    status.dispose();
    throw db::Error(std::string("cannot set the write mode of ") + database + ": " + text);
  }
}

}  // namespace hrdoc::demo
