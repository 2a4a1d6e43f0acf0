// The TTY console window of one device port: a read-only text view of what the
// guest sends, the menus of the console (serial/Terminal.h) and its keys. Keys
// go to the console first: characters are sent to the guest, never typed into
// the view; keys without a character (arrows, page keys) scroll the view.
#pragma once
#include <QElapsedTimer>
#include <QMainWindow>

#include <cstdint>

#include "serial/Terminal.h"
#include "serial/ui/GrowingText.h"

class QAction;
class QMenu;
class QPlainTextEdit;

namespace korva::ui {

class formTerminal final : public QMainWindow, public TerminalConsole, private TerminalView {
  Q_OBJECT

 public:
  formTerminal();
  ~formTerminal() override;

  QPlainTextEdit* View() const { return txtTerminal_; }
  // Shows what the console holds now (the queued refresh does the same).
  void Refresh();
  // The least time between two queued refreshes: a guest that writes without
  // pause keeps its speed, as the view is shown anew at most this often.
  static constexpr int RefreshIntervalMs = 20;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // TerminalView
  void ShowWindow() override;
  void HideWindow() override;
  void SetCaption(const std::string& caption) override;
  void TextChanged() override;
  void ApplyFont(const std::string& name, const std::string& size, const std::string& bold,
                 const std::string& italic) override;
  void LoadPlacement(const std::string& section) override;
  void SavePlacement(const std::string& section) override;

  void BuildMenus();
  void RefreshChecks();
  void ChooseFont();
  void PasteFromClipboard();

  QPlainTextEdit* txtTerminal_ = nullptr;
  QAction* mnuOnLine_ = nullptr;
  bool refreshQueued_ = false;
  QElapsedTimer sinceRefresh_;
  GrowingText shown_;
};

// Registers the TTY window as the maker of the ports' TTY consoles.
void InstallTerminalWindows();

}  // namespace korva::ui
