#pragma once
// What the desktop tests share. The test's GUI thread only serves events: the test itself runs
// as a driver on a thread of its own (drive), the command's work on another (Worker), as in the
// application. The driver acts on the widgets through gui() (waiting) or post() (for a key or a
// click that opens a modal window, which returns only when that window closes).

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QThread>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include "ui/qt/qt_ui.h"

namespace hrdoc::test {

inline void pause(int ms = 10) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Runs f on the GUI thread and waits for it.
inline void gui(const std::function<void()>& f) { ui::on_gui_thread(f); }
inline void post(std::function<void()> f) { QMetaObject::invokeMethod(qApp, std::move(f), Qt::QueuedConnection); }

// Runs the test body on a driver thread while this (the GUI) thread serves events.
inline void drive(const std::function<void()>& body) {
  std::atomic<bool> done{false};
  std::exception_ptr error;
  std::thread driver([&] {
    try {
      body();
    } catch (...) {
      error = std::current_exception();
    }
    done = true;
  });
  while (!done) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    pause(2);
  }
  driver.join();
  QApplication::processEvents();
  if (error) std::rethrow_exception(error);
}

// Work on a thread of its own, as a command runs in the application.
class Worker {
 public:
  explicit Worker(std::function<void()> work)
      : thread_([this, work = std::move(work)] {
          work();
          done_ = true;
        }) {}
  ~Worker() { finish(); }
  bool done() const { return done_; }
  // Waits for the work; a window still waiting for an answer after ten seconds (a test that
  // failed half way) is closed, so that a failure never hangs the binary.
  void finish() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done_) {
      if (std::chrono::steady_clock::now() > until)
        ui::on_gui_thread([] {
          if (QWidget* w = QApplication::activeModalWidget()) w->close();
        });
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

// Waits until the modal window with the object name is in front; throws after ten seconds.
inline QWidget* wait_modal(const QString& name) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  QString front;
  while (std::chrono::steady_clock::now() < until) {
    QWidget* found = nullptr;
    gui([&] {
      QWidget* w = QApplication::activeModalWidget();
      front = w ? w->objectName() : QString("nothing");
      if (w && w->objectName() == name && w->isVisible()) found = w;
    });
    if (found) return found;
    pause();
  }
  throw std::runtime_error("no modal window \"" + name.toStdString() + "\" came up; in front: " + front.toStdString());
}

// Types the text into the widget key by key; unlike QTest::keyClicks it takes any letters.
inline void type_text(QWidget* w, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 0x80)
      QTest::keyClick(w, c.toLatin1());
    else
      QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

inline void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

template <class T>
T* child(QWidget* parent, const QString& name) {
  T* w = parent->findChild<T*>(name);
  if (!w) throw std::runtime_error("no widget \"" + name.toStdString() + "\" in " + parent->objectName().toStdString());
  return w;
}

// Saves what the widget shows as <build>/screenshots/<name>.png (call on the GUI thread).
inline void shot(QWidget* w, const std::string& name) {
  QDir().mkpath(HRDOC_SHOT_DIR);
  EXPECT_TRUE(w->grab().save(QString::fromStdString(HRDOC_SHOT_DIR + name + ".png"))) << name;
}

}  // namespace hrdoc::test

// Every desktop test binary: the offscreen platform unless a display is asked for.
#define HRDOC_GUI_TEST_MAIN()                                                                     \
  int main(int argc, char** argv) {                                                               \
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen"); \
    QApplication app(argc, argv);                                                                 \
    ::testing::InitGoogleTest(&argc, argv);                                                       \
    return RUN_ALL_TESTS();                                                                       \
  }
