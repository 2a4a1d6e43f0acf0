// The debugger window: the command box (txtIO) where lines are typed and the
// output appears, the register pane (txtRegisters), two memory-watch panes
// (txtMemory 0 and 1) and the Run, Step, Stop and Abort buttons. It is a view:
// the command line, the panes' texts and the caption come from the debugger
// core (debugger/DebuggerCore.h); the window forwards keys and clicks.
#pragma once
#include <QWidget>

#include <array>
#include <cstdint>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace korva::ui {

class formDebugger final : public QWidget {
 public:
  // Loads the window hidden: fonts and placement from the section "Debugger",
  // watch panes one line tall; the processor switches to the debugger fetch.
  formDebugger();
  ~formDebugger() override;

  void ShowDebugger(int16_t style);
  // Saves the placement, restores the normal fetch and closes the window for real.
  void Unload();

  QPlainTextEdit* txtIO() const { return txtIO_; }
  QPlainTextEdit* txtRegisters() const { return txtRegisters_; }
  QPlainTextEdit* txtMemory(int i) const { return txtMemory_[static_cast<size_t>(i & 1)]; }
  QPushButton* cmdRun() const { return cmdRun_; }
  QPushButton* cmdStep() const { return cmdStep_; }
  QPushButton* cmdStop() const { return cmdStop_; }
  QPushButton* cmdAbort() const { return cmdAbort_; }

  // The view of the core's output, register pane and watches.
  size_t OutputLength() const;
  void RemoveFirst(size_t count);
  void Append(std::string_view text);
  // The box's text is empty or ends with a line break.
  bool AtLineStart() const;
  void SetRegisters(const std::string& text, uint32_t background);
  void SetWatch(int16_t watch, const std::string& text, int32_t visibleLines);

  // Places the panes and buttons in the client area.
  void LayoutPanes();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  int LineHeight() const;
  void SetWatchHeight(int i, int lines);

  QPlainTextEdit* txtIO_;
  QPlainTextEdit* txtRegisters_;
  std::array<QPlainTextEdit*, 2> txtMemory_;
  QPushButton* cmdRun_;
  QPushButton* cmdStep_;
  QPushButton* cmdStop_;
  QPushButton* cmdAbort_;
  std::array<int, 2> watchHeight_{};
  bool unloading_ = false;
  bool closeAfterCommand_ = false;
  bool closing_ = false;  // in the close box's close event
  QPoint normalFrameOffset_;  // inside's corner less the frame's, as the normal state ended
};

}  // namespace korva::ui
