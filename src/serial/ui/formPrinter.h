// The printer window of a parallel port: the page (a read-only rich text view
// that only the Edit commands change), the status frame with the on-line
// switch and the two lamps, and the printer's menus. The logic is the
// printer console's (serial/Printer.h); this view shows its page and state.
#pragma once
#include <QMainWindow>

#include <cstdint>
#include <optional>
#include <vector>

#include <QElapsedTimer>
#include <QTextCharFormat>
#include <QTimer>

#include "serial/Printer.h"

class QAction;
class QFrame;
class QMenu;
class QPushButton;
class QTextEdit;

namespace korva::ui {

class PrinterLamp;

class formPrinter final : public QMainWindow, public PrinterConsole, private PrinterView {
  Q_OBJECT

 public:
  formPrinter();
  ~formPrinter() override;

  // The view shows a changed page at most this often, and waits at least
  // RefreshShare times as long as its last refresh took, so that a guest
  // printing without pause keeps most of its speed.
  static constexpr int RefreshIntervalMs = 20;
  static constexpr int RefreshShare = 4;

  QTextEdit* View() const { return txtPage_; }
  QFrame* StatusFrame() const { return fraStatus_; }
  QPushButton* Switch() const { return cmdOnOffLineSwitch_; }
  // Shows what the page holds now (the queued refresh does the same).
  void Refresh();
  bool RefreshPending() const { return refreshTimer_.isActive(); }
  // The page's selection follows the view's.
  void SelectionFromView();
  // ChoosePrinterFont: the font dialog (and for modes 0 and 1 a colour dialog).
  void ChoosePrinterFont(int mode);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // PrinterView
  void ShowWindow() override;
  void HideWindow() override;
  void SetCaption(const std::string& caption) override;
  void PageChanged() override;
  void StatusChanged() override;
  void LoadPlacement(const std::string& section) override;
  void SavePlacement(const std::string& section) override;
  void Later(std::function<void()> f) override;

  void BuildMenus();
  void BuildStatusFrame();
  void LayOut();
  void PlaceOnLineSwitch(bool state);
  void RefreshEditMenu();
  const QTextCharFormat& ViewFormat(uint32_t index);
  // The page position of a position in the view, which shows the page as it is.
  size_t PagePosition(int viewPos) const;

  QTextEdit* txtPage_ = nullptr;
  QFrame* fraStatus_ = nullptr;
  QFrame* lineOnOffLineSwitch_ = nullptr;
  QPushButton* cmdOnOffLineSwitch_ = nullptr;
  PrinterLamp* shpInput_ = nullptr;
  PrinterLamp* shpOutput_ = nullptr;
  QMenu* mnuEdit_ = nullptr;
  QAction* mnuOnLine_ = nullptr;
  QTimer refreshTimer_;          // the queued refresh
  QElapsedTimer sinceRefresh_;   // started as the last refresh began
  qint64 refreshMs_ = 0;         // what the last refresh took
  size_t shownLength_ = 0;       // characters of the page the view shows
  std::vector<std::optional<QTextCharFormat>> viewFormats_;
};

// Registers the printer window as the maker of the ports' printer consoles.
void InstallPrinterWindows();

}  // namespace korva::ui
