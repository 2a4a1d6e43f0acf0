#include "debugger/ui/DebuggerWindow.h"

#include <QApplication>
#include <QPointer>
#include <QPlainTextEdit>

#include <algorithm>
#include <vector>

#include "debugger/DebuggerCore.h"
#include "debugger/ui/formDebugger.h"
#include "host/CodePage.h"
#include "shell/Neighbours.h"

namespace korva::ui {

namespace {

QPointer<formDebugger> window;

// Top-level windows in the order they were first seen (their title is set as they are built).
class WindowRecorder final : public QObject {
 public:
  std::vector<QPointer<QWidget>> Seen;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::Show ||
        event->type() == QEvent::Polish)
      if (auto* w = qobject_cast<QWidget*>(watched)) Note(w);
    return false;
  }

 public:
  static bool IsForm(const QWidget* w) {
    return w->isWindow() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog);
  }
  void Note(QWidget* w) {
    if (!IsForm(w)) return;
    if (std::none_of(Seen.begin(), Seen.end(), [w](const QPointer<QWidget>& p) { return p == w; }))
      Seen.emplace_back(w);
  }
};
WindowRecorder* recorder = nullptr;

std::vector<std::string> WindowCaptions() {
  std::vector<std::string> captions;
  if (recorder) {
    for (QWidget* w : QApplication::topLevelWidgets()) recorder->Note(w);  // any not seen yet go last
    for (const QPointer<QWidget>& w : recorder->Seen)
      if (w) captions.push_back(Utf8ToCp1252(w->windowTitle().toStdString()));
  }
  return captions;
}

formDebugger& Load() {
  if (!window) {
    window = new formDebugger;
    View.Length = [] { return window ? window->OutputLength() : size_t{0}; };
    View.RemoveFirst = [](size_t n) {
      if (window) window->RemoveFirst(n);
    };
    View.Append = [](std::string_view text) {
      if (window) window->Append(text);
    };
    View.AtLineStart = [] { return !window || window->AtLineStart(); };
    View.SetCaption = [](const std::string& caption) {
      if (window) window->setWindowTitle(QString::fromStdString(Cp1252ToUtf8(caption)));
    };
    View.SetRegisters = [](const std::string& text, uint32_t background) {
      if (window) window->SetRegisters(text, background);
    };
    View.SetWatch = [](int16_t watch, const std::string& text, int32_t lines) {
      if (window) window->SetWatch(watch, text, lines);
    };
  }
  return *window;
}

void Show(int16_t style) { Load().ShowDebugger(style); }

void Unload() {
  if (!window) return;
  formDebugger* w = window;
  window = nullptr;
  View.Length = nullptr;
  View.RemoveFirst = nullptr;
  View.Append = nullptr;
  View.AtLineStart = nullptr;
  View.SetCaption = nullptr;
  View.SetRegisters = nullptr;
  View.SetWatch = nullptr;
  w->Unload();
  w->deleteLater();
}

}  // namespace

formDebugger* DebuggerWindowForm() { return window.data(); }

void InstallDebuggerWindow() {
  ResetDebuggerState();  // the debugger's state lives from start-up
  InstallDebugger();
  View.Show = &Show;
  View.Unload = &Unload;
  View.WindowCaptions = &WindowCaptions;
  DebuggerWindow.ShowDebugger = &ShowDebugger;
  // At program end the main window unloads it like a close.
  DebuggerWindow.Unload = [] {
    if (window) HideDebugger();
  };
  if (!recorder && qApp) {
    recorder = new WindowRecorder;
    recorder->setParent(qApp);
    qApp->installEventFilter(recorder);
  }
}

}  // namespace korva::ui
