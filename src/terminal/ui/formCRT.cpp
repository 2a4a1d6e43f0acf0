#include "terminal/ui/formCRT.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>

#include <algorithm>

#include "board/ui/HostKeys.h"
#include "board/ui/MenuItems.h"
#include "board/ui/WindowPlacement.h"
#include "host/CodePage.h"
#include "host/Settings.h"
#include "host/qt/QtColor.h"
#include "serial/Consoles.h"
#include "serial/ui/LineMenus.h"

namespace korva::ui {

namespace {

constexpr int kDefaultPoints = 9;
constexpr int kLargestPoints = 200;

// The characters of the machine's code page, one per cell byte.
const std::array<QString, 256>& Glyphs() {
  static const std::array<QString, 256> glyphs = [] {
    std::array<QString, 256> g;
    for (int i = 0; i < 256; ++i)
      g[static_cast<size_t>(i)] =
          i < 32 || i == 127 ? QString() : QString::fromStdString(Cp1252ToUtf8(std::string(1, static_cast<char>(i))));
    return g;
  }();
  return glyphs;
}

int ShiftMask(Qt::KeyboardModifiers m) {
  return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) | ((m & Qt::AltModifier) ? 4 : 0);
}

}  // namespace

// ---- The cells.

CrtScreen::CrtScreen(formCRT* owner) : QWidget(owner), owner_(owner) {
  setObjectName(QStringLiteral("picScreen"));
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CrtScreen::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QImage& picture = owner_->Picture();
  const QRect want = event->rect();
  const QRect shown = want.intersected(picture.rect());
  if (!shown.isEmpty()) p.drawImage(shown, picture, shown);
  // Beyond the cells (a frame sized by hand): the screen's background.
  const QColor back = owner_->CellColor(false, static_cast<uint32_t>(owner_->Def().BackColor & 15) << 4);
  const QRegion rest = QRegion(want).subtracted(QRegion(picture.rect()));
  for (const QRect& r : rest) p.fillRect(r, back);
}

void CrtScreen::keyPressEvent(QKeyEvent* event) { owner_->KeyDown(*event); }
void CrtScreen::keyReleaseEvent(QKeyEvent* event) { owner_->KeyUp(*event); }
bool CrtScreen::focusNextPrevChild(bool) { return false; }  // Tab is a key of the terminal

// ---- The window.

formCRT::formCRT() {
  SetView(this);
  screen_ = new CrtScreen(this);
  setCentralWidget(screen_);
  font_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font_.setPointSize(kDefaultPoints);
  for (auto& line : advance_) line.fill(-1);
  MeasureCell();
  BuildMenus();
  dirtyFirst_.fill(CellColumns);
  dirtyLast_.fill(-1);
}

formCRT::~formCRT() { SetView(nullptr); }

void formCRT::BuildMenus() {
  QMenuBar* bar = menuBar();
  QMenu* edit = BarMenu(bar, "mnuEdit", "Edit");
  Item(edit, "mnuCopyScreen", "Copy Screen", [this] { CopyScreen(); });
  Item(edit, "mnuPasteInput", "Paste as Input", [this] { PasteInput(); });
  edit->addSeparator();
  Item(edit, "mnuToolsCls", "Clear Screen", [this] { ClearScreen(); });
  Item(edit, "mnuReset", "Reset", [this] { ResetTerminal(); });

  QMenu* settings = BarMenu(bar, "mnuSettings", "Settings");
  Item(settings, "mnuFont", "Font ...", [this] { ChooseFont(); });
  Item(settings, "mnuFixedFontsOnly", "Fixed Fonts Only", [this] {
    Terminal().FixedFontsOnly = ToVBool(!Terminal().FixedFontsOnly);
    RefreshChecks();
  }, true);
  Item(settings, "mnuSelectColors", "Colors ...", [this] { SelectColors(); });
  QMenu* size = SubMenu(settings, "mnuSize", "Screen Size");
  Item(size, "mnuSize80x24", "80x24", [this] { Terminal().ResizeScreen(80, 24); }, true);
  Item(size, "mnuSize80x25", "80x25", [this] { Terminal().ResizeScreen(80, 25); }, true);
  Item(size, "mnuSizeCustom", "Custom ...", [this] { CustomSize(); }, true);
  QMenu* cursor = SubMenu(settings, "mnuCursor", "Cursor");
  Item(cursor, "mnuCursorNone", "None", [this] { Terminal().SetCursorType(0); }, true);
  Item(cursor, "mnuCursorVL", "Vertical Line", [this] { Terminal().SetCursorType(1); }, true);
  Item(cursor, "mnuCursorHL", "Horizontal Line", [this] { Terminal().SetCursorType(2); }, true);
  Item(cursor, "mnuCursorBox", "Box", [this] { Terminal().SetCursorType(3); }, true);
  Item(cursor, "mnuCaret", "Caret", [this] { Terminal().SetCursorType(4); }, true);
  Item(cursor, "mnuCaretFilled", "Filled Caret", [this] { Terminal().SetCursorType(5); }, true);
  cursor->addSeparator();
  Item(cursor, "mnuCursorBack", "Behind Characters", [this] { Terminal().SetCursorFront(False); }, true);
  Item(cursor, "mnuCursorFront", "In Front of Characters", [this] { Terminal().SetCursorFront(True); }, true);
  settings->addSeparator();
  Item(settings, "mnuANSI", "ANSI", [this] { Terminal().SetANSI(ToVBool(!Def().ANSI)); }, true);
  ByteSizeMenu(settings, "Byte Size", [this](bool ascii) { Terminal().SetASCII(ToVBool(ascii)); });
  ParityMenu(settings, [this](int p) { Terminal().SetParity(static_cast<int16_t>(p)); });
  Item(settings, "mnuNoWrap", "No Wrap", [this] { Terminal().SetNoWrap(ToVBool(!Def().NoWrap)); }, true);
  Item(settings, "mnuAutoCR", "Auto CR", [this] { Terminal().SetAutoCR(ToVBool(!Def().AutoCR)); }, true);
  Item(settings, "mnuAutoLF", "Auto LF", [this] { Terminal().SetAutoLF(ToVBool(!Def().AutoLF)); }, true);
  mnuInsert_ = Item(settings, "mnuInsert", "Insert", [this] { Terminal().SetInsertMode(ToVBool(!Def().Insert)); });
  Item(settings, "mnuShowCNTR", "Show Control Characters", [this] {
    ShowCNTR = ToVBool(!ShowCNTR);
    RefreshChecks();
  }, true);
  settings->addSeparator();
  Item(settings, "mnuSetTabs", "Set Tabs ...", [this] { SetTabs(); });
  Item(settings, "mnuClearTabs", "Clear Tabs", [this] { ClearTabs(); });

  QMenu* terminal = BarMenu(bar, "mnuTerminal", "Terminal");
  Item(terminal, "mnuTerminalAbilities", "Edit Abilities ...", [this] { EditAbilities(); });
  Item(terminal, "mnuTerminalProperties", "Edit Key Definitions ...", [this] { EditKeyDefinitions(); });
  terminal->addSeparator();
  QMenu* abilities = SubMenu(terminal, "mnuAbilities", "Abilities");
  Item(abilities, "mnuTerminalLoad", "Load ...", [this] { LoadFile('t'); });
  Item(abilities, "mnuTerminalSave", "Save ...", [this] { SaveFile('t'); });
  Item(abilities, "mnuSaveDefTab", "Save As Default.Tab", [this] { SaveDefaultFile('t'); });
  Item(abilities, "mnuTerminalDef", "Return to Defaults", [this] { LoadDefaultAbilities(); });
  QMenu* keys = SubMenu(terminal, "mnuKeyBoard", "KeyBoard");
  Item(keys, "mnuLoadKeys", "Load ...", [this] { LoadFile('k'); });
  Item(keys, "mnuSaveKeys", "Save ...", [this] { SaveFile('k'); });
  Item(keys, "mnuSaveDefKeys", "Save As Default.Key", [this] { SaveDefaultFile('k'); });
  Item(keys, "menuKEYSDef", "Return to Defaults", [this] { LoadDefaultKeys(); });
  QMenu* fkeys = SubMenu(terminal, "mnuFunctionKeys", "Function Keys");
  Item(fkeys, "mnuLoadFK", "Load ...", [this] { LoadFile('f'); });
  Item(fkeys, "mnuSaveFK", "Save ...", [this] { SaveFile('f'); });
  Item(fkeys, "mnuSaveDefFky", "Save As Default.Fky", [this] { SaveDefaultFile('f'); });
  Item(fkeys, "mnuFKdef", "Return to Defaults", [this] { LoadDefaultFunctionKeys(); });
  terminal->addSeparator();
  Item(terminal, "mnuReturnToDefaults", "Return to Defaults", [this] { ReturnToDefaults(); });

  QMenu* help = BarMenu(bar, "mnuHelp", "Help");
  Item(help, "mnuHelpCRT", "CRT", [] {});

  mnuOnLine_ = bar->addAction(QStringLiteral("On Line"));
  mnuOnLine_->setObjectName(QStringLiteral("mnuOnLine"));
  connect(mnuOnLine_, &QAction::triggered, this, [this] { ToggleOnLine(); });
  QAction* flush = bar->addAction(QStringLiteral("Flush Queue"));
  flush->setObjectName(QStringLiteral("mnuFlushQueue"));
  connect(flush, &QAction::triggered, this, [this] { FlushQueue(); });
  // The checks show the console's state whenever a menu opens.
  for (QMenu* m : findChildren<QMenu*>()) connect(m, &QMenu::aboutToShow, this, [this] { RefreshChecks(); });
  for (QAction* a : findChildren<QAction*>())
    if (!a->objectName().isEmpty()) actions_[a->objectName().toStdString()] = a;
  RefreshChecks();
}

void formCRT::RefreshChecks() {
  const CrtDefinition& d = Def();
  const classCrtTerminal& t = Terminal();
  const auto check = [this](const char* name, bool on) {
    if (const auto a = actions_.find(name); a != actions_.end()) a->second->setChecked(on);
  };
  const bool size80x24 = d.Columns == 80 && d.Lines == 24, size80x25 = d.Columns == 80 && d.Lines == 25;
  check("mnuSize80x24", size80x24);
  check("mnuSize80x25", size80x25);
  check("mnuSizeCustom", !size80x24 && !size80x25);
  check("mnuFixedFontsOnly", t.FixedFontsOnly);
  static const char* const kCursors[] = {"mnuCursorNone", "mnuCursorVL", "mnuCursorHL",
                                         "mnuCursorBox",  "mnuCaret",    "mnuCaretFilled"};
  for (int i = 0; i < 6; ++i) check(kCursors[i], d.CursorType == i);
  check("mnuCursorBack", !d.CursorFront);
  check("mnuCursorFront", d.CursorFront);
  check("mnuANSI", d.ANSI);
  check("mnu7bits", d.Ascii);
  check("mnu8bits", !d.Ascii);
  static const char* const kParities[] = {"mnuZero", "mnuOne", "mnuEven", "mnuOdd"};
  for (int i = 0; i < 4; ++i) check(kParities[i], d.Parity == i);
  check("mnuNoWrap", d.NoWrap);
  check("mnuAutoCR", d.AutoCR);
  check("mnuAutoLF", d.AutoLF);
  check("mnuShowCNTR", ShowCNTR);
  mnuInsert_->setText(d.Insert ? QStringLiteral("Inserting") : QStringLiteral("Insert"));
  mnuOnLine_->setText(QString::fromStdString(OnLineCaption()));
  if (const auto tabs = actions_.find("mnuSetTabs"); tabs != actions_.end()) tabs->second->setEnabled(t.TabSpacing != 0);
}

void formCRT::ModesChanged() { RefreshChecks(); }

// ---- Font and size.

void formCRT::MeasureCell() {
  // A cell is as wide and as high as "N" in the window's font.
  const QFontMetrics fm(font_);
  cellWidth_ = std::max(1, fm.horizontalAdvance(QLatin1Char('N')));
  cellHeight_ = std::max(1, fm.height());
  ascent_ = fm.ascent();
  styledMade_.fill(false);
  for (auto& line : advance_) line.fill(-1);
}

void formCRT::ApplyFont(const std::string& name, const std::string& size) {
  if (!name.empty()) font_.setFamily(QString::fromStdString(Cp1252ToUtf8(name)));
  if (!size.empty()) {
    // A size may hold a fraction of a point ("9.75"), written with "." whatever the locale.
    bool ok = false;
    const double points = QString::fromStdString(size).trimmed().toDouble(&ok);
    if (ok && points >= 1 && points <= kLargestPoints) font_.setPointSizeF(points);
  }
  MeasureCell();
}

void formCRT::ChooseFont() {
  // The dialog lists its families when its font is set, with the options it has
  // then: the options come first, or "Fixed Fonts Only" would list every family.
  QFontDialog dialog(this);
  dialog.setObjectName(QStringLiteral("fontDialog"));
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  dialog.setOption(QFontDialog::MonospacedFonts, Terminal().FixedFontsOnly != False);
  dialog.setCurrentFont(font_);
  if (dialog.exec() != QDialog::Accepted) return;
  const QFont chosen = dialog.selectedFont();
  font_.setFamily(chosen.family());
  if (chosen.pointSize() > 0) font_.setPointSize(std::min(chosen.pointSize(), kLargestPoints));
  font_.setBold(false);
  font_.setItalic(false);
  font_.setUnderline(false);
  font_.setStrikeOut(false);
  SaveFont(Utf8ToCp1252(font_.family().toStdString()), font_.pointSize());
  MeasureCell();
  FitScreen(static_cast<int16_t>(Terminal().MaxColumn + 1), static_cast<int16_t>(Terminal().MaxLine + 1));
  RepaintAll();
}

void formCRT::FitScreen(int16_t columns, int16_t lines) {
  const QSize inner(std::max<int>(columns, 1) * cellWidth_, std::max<int>(lines, 1) * cellHeight_);
  if (picture_.size() != inner) {
    picture_ = QImage(inner, QImage::Format_RGB32);
    picture_.fill(CellColor(false, 0));
    RepaintAll();
  }
  // Twice: the menu bar's height may change with the width.
  for (int pass = 0; pass < 2; ++pass) {
    if (layout()) layout()->activate();
    const QSize frame = size() - screen_->size();
    resize(inner + frame);
    if (layout()) layout()->activate();
    if (screen_->size() == inner) break;
  }
}

// ---- Painting.

QColor formCRT::CellColor(bool isText, uint32_t attr) const {
  if (attr & CellAttr::Inverse) isText = !isText;
  const uint32_t index = isText ? attr & 15 : (attr >> 4) & 15;
  return HostColor(Terminal().ScreenColors[index]);
}

const QFont& formCRT::StyledFont(uint32_t attr) {
  const size_t style = (attr >> 12) & 15;
  if (!styledMade_[style]) {
    QFont f = font_;
    f.setUnderline(attr & CellAttr::Underline);
    f.setStrikeOut(attr & CellAttr::Strike);
    f.setBold(attr & CellAttr::Bold);
    f.setItalic(attr & CellAttr::Italic);
    styled_[style] = f;
    styledMade_[style] = true;
  }
  return styled_[style];
}

void formCRT::DrawCursor(QPainter& p, const QRect& r) {
  const QColor colour = HostColor(Terminal().CursorColor);
  const int w = r.width(), h = r.height();
  switch (Def().CursorType) {
    case 1:  // a bar one pixel wide on the left edge
      p.fillRect(QRect(r.x(), r.y(), 1, h - 1), colour);
      break;
    case 2:  // a line along the bottom
      p.fillRect(QRect(r.x(), r.y() + h - 1, w - 1, 1), colour);
      break;
    case 3:  // a box
      p.setPen(colour);
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRect(r.x(), r.y(), w - 2, h - 2));
      break;
    case 4:    // a caret: the upper half of an upright ellipse on the bottom edge
    case 5: {  // the same, filled
      const double rx = w / 2.0, ry = rx * 1.5;
      const double cx = r.x() + (Def().CursorType == 5 ? w * 0.45 : w / 2.0);
      const double cy = r.y() + h - 1;
      p.save();
      p.setRenderHint(QPainter::Antialiasing, true);
      p.setClipRect(r);
      p.setPen(colour);
      p.setBrush(Def().CursorType == 5 ? QBrush(colour) : QBrush(Qt::NoBrush));
      p.drawPie(QRectF(cx - rx, cy - ry, 2 * rx, 2 * ry), 0, 180 * 16);
      p.restore();
      break;
    }
    default:
      break;
  }
}

void formCRT::DrawCell(QPainter& p, int column, int line) {
  const ScreenCell& cell = Terminal().Cell(column, line);
  const uint32_t a = cell.Attr;
  const QRect r(column * cellWidth_, line * cellHeight_, cellWidth_, cellHeight_);
  p.fillRect(r, CellColor(false, a));
  const bool mark = (a & CellAttr::CursorMark) != 0;
  const bool front = Def().CursorFront != False;
  if (mark && !front) DrawCursor(p, r);
  const QString& glyph = Glyphs()[cell.Char];
  if (!glyph.isEmpty() && cell.Char != 32) {
    const size_t style = (a >> 12) & 15;
    const QFont& f = StyledFont(a);
    p.setFont(f);
    int offset = 0;
    if (!Terminal().FixedFontsOnly) {
      int16_t& adv = advance_[style][cell.Char];
      if (adv < 0) adv = static_cast<int16_t>(QFontMetrics(f).horizontalAdvance(glyph));
      offset = std::max(0, (cellWidth_ - adv) / 2);
    }
    p.setPen(CellColor(true, a));
    const bool clip = (a & CellAttr::Italic) != 0;
    if (clip) p.setClipRect(r);
    p.drawText(r.x() + offset, r.y() + ascent_, glyph);
    if (clip) p.setClipping(false);
  } else if (a & (CellAttr::Underline | CellAttr::Strike)) {
    // A blank still shows its lines.
    p.setFont(StyledFont(a));
    p.setPen(CellColor(true, a));
    p.drawText(r.x(), r.y() + ascent_, QStringLiteral(" "));
  }
  if (mark && front) DrawCursor(p, r);
}

void formCRT::CellsChanged(int16_t line1, int16_t line2, int16_t column1, int16_t column2) {
  const int l1 = std::max<int>(line1, 0), l2 = std::min<int>(line2, CellLines - 1);
  const int c1 = std::max<int>(column1, 0), c2 = std::min<int>(column2, CellColumns - 1);
  if (l1 > l2 || c1 > c2) return;
  for (int l = l1; l <= l2; ++l) {
    dirtyFirst_[static_cast<size_t>(l)] = std::min<int16_t>(dirtyFirst_[static_cast<size_t>(l)], static_cast<int16_t>(c1));
    dirtyLast_[static_cast<size_t>(l)] = std::max<int16_t>(dirtyLast_[static_cast<size_t>(l)], static_cast<int16_t>(c2));
  }
  anyDirty_ = true;
  QueueFlush();
}

void formCRT::RepaintAll() {
  CellsChanged(0, Terminal().MaxLine, 0, Terminal().MaxColumn);
  screen_->update();
}

void formCRT::QueueFlush() {
  if (flushQueued_ || !Loaded()) return;
  flushQueued_ = true;
  QTimer::singleShot(0, this, [this] { Flush(); });
}

void formCRT::Flush() {
  flushQueued_ = false;
  // A minimized window paints nothing; what changed is painted when it comes back.
  if (!anyDirty_ || isMinimized() || picture_.isNull()) return;
  const classCrtTerminal& t = Terminal();
  QPainter p(&picture_);
  QRect changed;
  for (int l = 0; l < CellLines; ++l) {
    const auto i = static_cast<size_t>(l);
    const int first = dirtyFirst_[i], last = std::min<int>(dirtyLast_[i], t.MaxColumn);
    dirtyFirst_[i] = CellColumns;
    dirtyLast_[i] = -1;
    if (l > t.MaxLine || first > last) continue;
    for (int c = first; c <= last; ++c) DrawCell(p, c, l);
    changed |= QRect(first * cellWidth_, l * cellHeight_, (last - first + 1) * cellWidth_, cellHeight_);
  }
  anyDirty_ = false;
  p.end();
  ++paints_;
  if (!changed.isEmpty()) screen_->update(changed);
}

void formCRT::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && !isMinimized() && anyDirty_) QueueFlush();
}

// ---- Showing and placement.

void formCRT::ShowWindow() {
  show();
  raise();
  activateWindow();
  screen_->setFocus();
  QueueFlush();
}

void formCRT::HideWindow() { hide(); }

void formCRT::SetCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(Cp1252ToUtf8(caption)));
}

void formCRT::SetDefaultFileCaptions(const std::string& fky, const std::string& kbd, const std::string& tab) {
  const auto caption = [this](const char* name, const std::string& text) {
    if (QAction* a = findChild<QAction*>(QString::fromLatin1(name))) a->setText(QString::fromStdString(text));
  };
  caption("mnuSaveDefFky", fky);
  caption("mnuSaveDefKeys", kbd);
  caption("mnuSaveDefTab", tab);
}

void formCRT::LoadPlacement(const std::string& section) {
  ui::LoadPlacement(*this, section, PlacementKeys::TopLeftWhenNormal, FirstPlace::BesideMainWindow);
  const int32_t state = GetSettingLong(section, "WindowState", -1, 0, 2);
  if (state < 0) return;
  Qt::WindowStates s = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  if (state == 1) s |= Qt::WindowMinimized;
  if (state == 2) s |= Qt::WindowMaximized;
  setWindowState(s);
}

void formCRT::SavePlacement(const std::string& section) {
  const Qt::WindowStates state = windowState();
  SaveSettingLong(section, "WindowState",
                  (state & Qt::WindowMinimized) ? 1 : (state & Qt::WindowMaximized) ? 2 : 0);
  ui::SavePlacement(*this, section, PlacementKeys::TopLeftWhenNormal);
}

std::string formCRT::ClipboardText() {
  return Utf8ToCp1252(QGuiApplication::clipboard()->text().toStdString());
}

void formCRT::SetClipboardText(const std::string& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(QString::fromStdString(Cp1252ToUtf8(text)));
}

void formCRT::closeEvent(QCloseEvent* event) {
  // The close box unloads the console; the window object stays for its port.
  event->ignore();
  Unload();
}

// ---- Keys: the key-down tables first; a key they leave sends its character.

void formCRT::KeyDown(QKeyEvent& event) {
  const int mask = ShiftMask(event.modifiers());
  if (event.key() == Qt::Key_Pause) {  // a held Pause is one break, not a repeat of them
    if (!event.isAutoRepeat()) Terminal().KeyDown(19, mask);
    return;
  }
  const int vk = VirtualKeyFromQt(event.key(), event.modifiers());
  if (vk != NoVirtualKey && Terminal().KeyDown(vk, mask) == 0) return;
  if (vk == NoVirtualKey) Terminal().KeyDown(0, mask);  // the modifiers of the key-press rule
  const std::string typed = Utf8ToCp1252(event.text().toStdString());
  if (!typed.empty()) {
    for (const char c : typed) Terminal().KeyPress(static_cast<uint8_t>(c));
    return;
  }
  // Ctrl with a key whose character the platform did not give: "@" to "_".
  if ((mask & 2) && event.key() >= 0x40 && event.key() <= 0x5F) Terminal().KeyPress(event.key());
}

void formCRT::KeyUp(QKeyEvent& event) {
  if (event.isAutoRepeat()) return;
  const int vk = event.key() == Qt::Key_Pause ? 19 : VirtualKeyFromQt(event.key(), event.modifiers());
  if (vk != NoVirtualKey) Terminal().KeyUp(vk, ShiftMask(event.modifiers()));
}

void InstallCRTWindows() {
  ConsoleFactories.CRT = [](int16_t) -> std::unique_ptr<CRTConsoleWindow> { return std::make_unique<formCRT>(); };
}

}  // namespace korva::ui
