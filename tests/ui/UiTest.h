// Shared by the offscreen window tests: the one application object, the event
// pump, modal dialogs answered from a timer, and the message boxes a scripted
// host showed.
#pragma once
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QListView>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "support/ScriptedHost.h"

namespace korva::uitest {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "korva_ui_tests";
  static char* argv[] = {name, nullptr};
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
  // Never destroyed: Qt's device list, made on the first synthesised pointer
  // event, would be gone before an application object destroyed at exit.
  static auto* app = new QApplication(argc, argv);
  return *app;
}

// Delivers the pending events, waiting up to ms for one when there are none.
inline bool Pump(int ms = 10) {
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, ms);
  return true;
}

// Pumps until done() holds (true) or three seconds pass (false).
inline bool PumpUntil(const std::function<bool()>& done) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > 3000) return false;
    Pump();
  }
  return true;
}

// Once a modal dialog is up, run act on it.
inline void WhenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      act(w);
    }
  });
  timer->start(5);
}

// The families a font dialog opened by open() lists: the list beside the
// dialog's "&Font" label, read while it is up; the dialog is then cancelled.
inline QStringList FontDialogFamilies(const std::function<void()>& open) {
  QStringList families;
  WhenModal([&families](QWidget* w) {
    for (const QLabel* label : w->findChildren<QLabel*>())
      if (const auto* list = qobject_cast<QListView*>(label->buddy()); list && label->text() == "&Font")
        for (int r = 0; r < list->model()->rowCount(); ++r) families << list->model()->index(r, 0).data().toString();
    qobject_cast<QDialog*>(w)->reject();
  });
  open();
  return families;
}

// The message boxes shown so far, each as "title|text".
inline std::vector<std::string> Boxes(const ScriptedHost& host) {
  std::vector<std::string> m;
  for (const HostCall& c : host.CallsOf(HostCall::Kind::MessageBox)) m.push_back(c.Title + "|" + c.Text);
  return m;
}

}  // namespace korva::uitest
