// "Colors": the palette and cursor colour of a CRT window. The caller fills the
// public members (terminal/ColorScheme.h's ColorConfig), calls ShowColorConfig
// and reads them back when Accepted is 1. Sixteen colour buttons and "Cursor"
// open the colour dialog; the sample shows every text colour on every
// background; the scheme list, "Load File" and "Save File" work on the palette.
#pragma once
#include <QDialog>

#include <array>

#include "terminal/ColorScheme.h"
#include "terminal/CrtConsole.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace korva::ui {

// The 16 x 16 "Text" samples, painted: text palette(column) on palette(row).
class ColorSamples final : public QWidget {
 public:
  explicit ColorSamples(const ColorConfig& colors, QWidget* parent);
  QSize sizeHint() const override;
  // The cell of a column and row (a gap after the eighth of each).
  QRect CellRect(int column, int row) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const ColorConfig& colors_;
  int cellWidth_, cellHeight_;
};

class DialogColors final : public QDialog, public ColorConfig {
 public:
  explicit DialogColors(QWidget* parent = nullptr);
  // The member, not the dialog's result code.
  using ColorConfig::Accepted;

  // Prepares the dialog from the members and shows it modally. Accepted is 0
  // unless the dialog is closed with OK.
  void ShowColorConfig();

  QPushButton* ColorButton(int k) const { return cmdEditColor_[static_cast<size_t>(k)]; }
  QComboBox* Schemes() const { return comboColors_; }
  QLabel* NameLabel() const { return lblColorsName_; }
  ColorSamples* Samples() const { return lblSamples_; }
  // Shows the current state: list entry, name, samples and buttons.
  void Refresh();

  void done(int result) override;

 private:
  void EditColor(int k);
  void Choose(int code);

  std::array<QPushButton*, 17> cmdEditColor_{};
  QComboBox* comboColors_ = nullptr;
  QLabel* lblColorsName_ = nullptr;
  ColorSamples* lblSamples_ = nullptr;
};

// The CRT window's colours command: the scheme handed over, taken back when
// accepted (true).
bool SelectColors(CrtColorScheme& choice, QWidget* parent);

}  // namespace korva::ui
