// The CRT console window of one device port: the screen of cells painted from
// the terminal engine, the menus of the console (terminal/CrtConsole.h) and its
// keys. Changed cells are painted into a picture of the screen at the next
// pump, once for everything the guest sent in between; the widget only copies
// that picture.
#pragma once
#include <QImage>
#include <QMainWindow>
#include <QWidget>

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "terminal/CrtConsole.h"

class QAction;
class QMenu;

namespace korva::ui {

class formCRT;

// The cells. Keys typed here go to the console, Tab and Backtab included.
class CrtScreen final : public QWidget {
  Q_OBJECT

 public:
  explicit CrtScreen(formCRT* owner);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  formCRT* owner_;
};

class formCRT final : public QMainWindow, public CrtConsole, private CrtView {
  Q_OBJECT

 public:
  formCRT();
  ~formCRT() override;

  CrtScreen* Screen() const { return screen_; }
  int CellWidth() const { return cellWidth_; }
  int CellHeight() const { return cellHeight_; }
  const QFont& ScreenFont() const { return font_; }
  // Paints the changed cells now (the queued pump does the same).
  void Flush();
  // Pumps that painted cells so far.
  int64_t Paints() const { return paints_; }
  // The colour of a cell's text or background, from the palette.
  QColor CellColor(bool isText, uint32_t attr) const;

  void KeyDown(QKeyEvent& event);
  void KeyUp(QKeyEvent& event);
  const QImage& Picture() const { return picture_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // CrtView
  void ShowWindow() override;
  void HideWindow() override;
  void SetCaption(const std::string& caption) override;
  void SetDefaultFileCaptions(const std::string& fky, const std::string& kbd, const std::string& tab) override;
  void ApplyFont(const std::string& name, const std::string& size) override;
  void FitScreen(int16_t columns, int16_t lines) override;
  void CellsChanged(int16_t line1, int16_t line2, int16_t column1, int16_t column2) override;
  void RepaintAll() override;
  void ModesChanged() override;
  void LoadPlacement(const std::string& section) override;
  void SavePlacement(const std::string& section) override;
  std::string ClipboardText() override;
  void SetClipboardText(const std::string& text) override;

  void BuildMenus();
  void RefreshChecks();
  void MeasureCell();
  void ChooseFont();
  void DrawCell(QPainter& p, int column, int line);
  void DrawCursor(QPainter& p, const QRect& cell);
  const QFont& StyledFont(uint32_t attr);
  void QueueFlush();

  CrtScreen* screen_ = nullptr;
  QFont font_;
  int cellWidth_ = 8, cellHeight_ = 16, ascent_ = 12;
  // The font with each combination of underline, strikethrough, bold and italic
  // (attribute bits 12-15), made when first used.
  std::array<QFont, 16> styled_;
  std::array<bool, 16> styledMade_{};
  // Widths of the characters per style, for centring (-1: not measured yet).
  std::array<std::array<int16_t, 256>, 16> advance_{};
  QImage picture_;
  // Per line, the first and last changed column (first > last: none).
  std::array<int16_t, CellLines> dirtyFirst_{}, dirtyLast_{};
  bool anyDirty_ = false;
  bool flushQueued_ = false;
  int64_t paints_ = 0;
  std::map<std::string, QAction*, std::less<>> actions_;  // the menu items by name
  QAction* mnuOnLine_ = nullptr;
  QAction* mnuInsert_ = nullptr;
};

// Registers the CRT window as the maker of the ports' CRT consoles.
void InstallCRTWindows();

}  // namespace korva::ui
