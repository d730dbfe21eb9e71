#pragma once
// The desktop application's main window: opens a personnel database, lists the command table by
// family with a filter, and runs the chosen command through main_dll exactly as `hrdoc run`
// does (the same library, the same context record). The command works on a thread of its own,
// its windows and questions carried to this one, so the window stays responsive.

#include <QMainWindow>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/compark.h"
#include "suite/hrdoc/host_setup.h"
#include "ui/qt/qt_ui.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QThread;
class QTreeWidget;

namespace hrdoc::host {
class Session;
}

namespace hrdoc::gui {

class MainWindow : public QMainWindow {
 public:
  struct Options {
    std::filesystem::path bin_dir;  // libhrdoc.so, its siblings and mzxls/
    std::string settings_file;      // empty: the computer's settings file beside the program
    // How a finished document or its folder is handed to the desktop.
    std::function<void(const QUrl&)> open_url;
  };
  explicit MainWindow(Options options);
  ~MainWindow() override;

  // Connects to a database file or host[/port]:path; an error box when it cannot.
  bool open_database(const std::string& connection);
  // Starts a command; false when one is running already or the library cannot be loaded.
  bool start(const std::string& code);
  bool running() const { return worker_ != nullptr; }
  // Called on this thread when a command has ended (after its documents were offered).
  std::function<void()> on_finished;

  // What the last command left: its documents, its answer, whether it showed an error box.
  const std::vector<std::string>& documents() const { return documents_; }
  int result() const { return result_; }
  bool failed() const { return failed_; }
  void set_out_dir(const std::string& folder);
  compark& context() { return ctx_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void build();
  void fill_commands();
  void filter(const QString& text);
  void run_selected();
  void finished();
  void offer(const std::string& path);
  void open_document(const std::string& path, bool folder);
  void remember_database(const std::string& connection);
  void load_settings();
  void save_settings();
  std::string out_dir() const;
  void set_busy(bool busy);

  Options options_;
  std::string settings_file_;
  host::Library library_;
  ui::QtUi ui_;
  compark ctx_;
  std::unique_ptr<host::Session> session_;
  std::string database_;
  QThread* worker_ = nullptr;
  std::string running_code_;
  int errors_before_ = 0;
  int result_ = 0;
  bool failed_ = false;
  std::vector<std::string> documents_;

  QComboBox* database_box_ = nullptr;
  QLabel* database_state_ = nullptr;
  QLineEdit* out_edit_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QTreeWidget* commands_ = nullptr;
  QPushButton* run_ = nullptr;
  QListWidget* document_list_ = nullptr;
  std::vector<QWidget*> lock_while_running_;
};

}  // namespace hrdoc::gui
