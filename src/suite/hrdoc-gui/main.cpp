// hrdoc-gui: the desktop application for the clerks. The same library and context record as
// `hrdoc run`, shown as windows.
#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "suite/hrdoc-gui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("hrdoc-gui");
  QCommandLineParser parser;
  parser.setApplicationDescription("hrdoc: отчёты отдела кадров из базы Firebird");
  parser.addHelpOption();
  QCommandLineOption db("db", "База данных: файл Firebird или host[/port]:путь", "CONN");
  QCommandLineOption shot("screenshot", "Сохранить снимок главного окна в файл PNG и выйти", "FILE");
  parser.addOption(db);
  parser.addOption(shot);
  parser.process(app);

  hrdoc::gui::MainWindow window({hrdoc::host::exe_dir(), {}, {}});
  window.show();
  if (parser.isSet(db)) window.open_database(parser.value(db).toStdString());
  if (parser.isSet(shot)) {
    const QString file = parser.value(shot);
    QTimer::singleShot(500, &window, [&window, file] {
      if (!window.grab().save(file)) std::fprintf(stderr, "hrdoc-gui: cannot write %s\n", file.toLocal8Bit().constData());
      QApplication::quit();
    });
  }
  return app.exec();
}
