// The console assignment dialog "I/O Devices": a row per device port with a
// box per console kind, shown, enabled and coloured by the port's hardware, and
// "OK", "Apply" and "Cancel" (serial/ConsoleAssignment.h does the work).
// A modal value holder: ShowConsolesDialog runs it.
#pragma once
#include <QDialog>

#include <array>

#include "serial/ConsoleAssignment.h"

class QCheckBox;
class QLabel;

namespace korva::ui {

class formConsoles final : public QDialog {
  Q_OBJECT

 public:
  explicit formConsoles(QWidget* parent = nullptr);

  // The boxes of a port by column (ConsoleColumn), and the port's label.
  QCheckBox* Box(int port, int column) const { return boxes_[static_cast<size_t>(port)][static_cast<size_t>(column)]; }
  QLabel* PortLabel(int port) const { return lblConsole_[static_cast<size_t>(port)]; }
  // The ticks of every box, hidden ones included.
  ConsoleTicks Ticks() const;
  // Ticks the boxes from the stored kinds.
  void ShowConsoleTypes();
  void Apply();  // "Apply"
  void Ok();     // "OK"

  void done(int result) override;

 private:
  void BuildConsoleGrid();

  std::array<std::array<QCheckBox*, ConsoleColumns>, DevicePorts> boxes_{};
  std::array<QLabel*, DevicePorts> lblConsole_{};
};

// Shows the dialog modally over parent.
void ShowConsolesDialog(QWidget* parent);

}  // namespace korva::ui
