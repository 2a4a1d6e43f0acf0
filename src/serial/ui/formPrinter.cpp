#include "serial/ui/formPrinter.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>


#include "board/ui/MenuItems.h"
#include "board/ui/WindowPlacement.h"
#include "host/CodePage.h"
#include "host/qt/QtColor.h"
#include "host/qt/QtText.h"
#include "serial/Consoles.h"
#include "serial/ui/LineMenus.h"

namespace korva::ui {

// A round lamp of the status frame.
class PrinterLamp final : public QWidget {
 public:
  using QWidget::QWidget;
  void SetColor(uint32_t rgb) {
    const QColor c(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>((rgb >> 16) & 0xFF));
    if (c == color_) return;
    color_ = c;
    update();
  }
  QColor Color() const { return color_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.setBrush(color_);
    p.drawEllipse(rect().adjusted(0, 0, -1, -1));
  }

 private:
  QColor color_{Qt::black};
};

namespace {

constexpr int kTwipsPerPixel = 15;

// The view keeps a line break as a line separator inside its paragraph until
// the paragraph holds this many characters: every paragraph keeps a layout of
// some hundreds of bytes, a line inside one a few tens, and the paragraph the
// guest prints into is laid out anew at each refresh.
constexpr int kParagraphChars = 1024;

// The status frame's layout in pixels.
constexpr int kFrameW = 84, kFrameH = 48;
constexpr int kLineX = 12, kLineY1 = 10, kLineY2 = 38;
constexpr int kSwitchW = 16, kSwitchH = 12;
constexpr int kLampSize = 12;

}  // namespace

formPrinter::formPrinter() {
  SetView(this);
  auto* central = new QWidget(this);
  setCentralWidget(central);
  txtPage_ = new QTextEdit(central);
  txtPage_->setObjectName(QStringLiteral("txtPage"));
  txtPage_->setReadOnly(true);
  txtPage_->setUndoRedoEnabled(false);
  txtPage_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  txtPage_->setLineWrapMode(QTextEdit::NoWrap);
  txtPage_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(txtPage_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { mnuEdit_->popup(txtPage_->mapToGlobal(at)); });
  central->installEventFilter(this);
  const QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  PrinterFont wf;
  wf.Name = FromQt(f.family());
  wf.Size = f.pointSizeF() > 0 ? static_cast<float>(f.pointSizeF()) : 10.0f;
  SetWindowFont(wf);
  PageFont = wf;
  BuildStatusFrame();
  BuildMenus();
  refreshTimer_.setSingleShot(true);
  connect(&refreshTimer_, &QTimer::timeout, this, [this] { Refresh(); });
  resize(640, 400);
}

formPrinter::~formPrinter() { SetView(nullptr); }

void formPrinter::BuildStatusFrame() {
  fraStatus_ = new QFrame(centralWidget());
  fraStatus_->setObjectName(QStringLiteral("fraStatus"));
  fraStatus_->setFrameShape(QFrame::Box);
  fraStatus_->setAutoFillBackground(true);
  fraStatus_->resize(kFrameW, kFrameH);
  lineOnOffLineSwitch_ = new QFrame(fraStatus_);
  lineOnOffLineSwitch_->setObjectName(QStringLiteral("lineOnOffLineSwitch"));
  lineOnOffLineSwitch_->setFrameShape(QFrame::VLine);
  lineOnOffLineSwitch_->setGeometry(kLineX - 1, kLineY1, 3, kLineY2 - kLineY1);
  cmdOnOffLineSwitch_ = new QPushButton(fraStatus_);
  cmdOnOffLineSwitch_->setObjectName(QStringLiteral("cmdOnOffLineSwitch"));
  cmdOnOffLineSwitch_->resize(kSwitchW, kSwitchH);
  cmdOnOffLineSwitch_->setFocusPolicy(Qt::NoFocus);
  connect(cmdOnOffLineSwitch_, &QPushButton::clicked, this, [this] { ToggleOnLine(); });
  shpInput_ = new PrinterLamp(fraStatus_);
  shpInput_->setObjectName(QStringLiteral("shpInput"));
  shpInput_->setGeometry(28, kLineY1 - kLampSize / 2 + 2, kLampSize, kLampSize);
  shpOutput_ = new PrinterLamp(fraStatus_);
  shpOutput_->setObjectName(QStringLiteral("shpOutput"));
  shpOutput_->setGeometry(28, kLineY2 - kLampSize / 2 - 2, kLampSize, kLampSize);
  auto* online = new QLabel(QStringLiteral("Online"), fraStatus_);
  online->move(44, kLineY1 - 6);
  auto* paper = new QLabel(QStringLiteral("Paper"), fraStatus_);
  paper->move(44, kLineY2 - 10);
  for (QLabel* l : {online, paper}) {
    QFont small = l->font();
    small.setPointSize(7);
    l->setFont(small);
    l->adjustSize();
  }
  StatusChanged();
}

void formPrinter::BuildMenus() {
  QMenuBar* bar = menuBar();
  QMenu* file = BarMenu(bar, "mnuFile", "Printer");
  Item(file, "mnuReset", "Reset", [this] { ResetPrinter(); });
  Item(file, "mnuFileSaveTXT", "Save as TXT ...", [this] { SaveAsTXT(); });
  Item(file, "mnuFileSaveRTF", "Save as RTF ...", [this] { SaveAsRTF(); });
  Item(file, "mnuSaveFont", "Save Font", [this] { SaveFont(); });
  QAction* toFile = Item(file, "mnuPrintToFile", "Print to File ...", [this] { PrintToFileItem(); });
  QAction* toScreen = Item(file, "mnuPrintToScreen", "Print to Screen", [this] { PrintToScreen = !PrintToScreen; }, true);
  connect(file, &QMenu::aboutToShow, this, [this, toFile, toScreen] {
    toFile->setText(ToQt(PrintFileCaption()));
    toScreen->setChecked(PrintToScreen);
  });

  mnuEdit_ = BarMenu(bar, "mnuEdit", "Edit");
  // The user's edits show at once.
  Item(mnuEdit_, "mnuToolsClear", "Clear", [this] {
    ClearPage();
    Refresh();
  });
  Item(mnuEdit_, "mnuEditCut", "Cut", [this] {
    SelectionFromView();
    const std::string t = Cut();
    Refresh();
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(ToQt(t));
  });
  Item(mnuEdit_, "mnuEditCopy", "Copy", [this] {
    SelectionFromView();
    const std::string t = Copy();
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(ToQt(t));
  });
  Item(mnuEdit_, "mnuEditPaste", "Paste", [this] {
    SelectionFromView();
    Paste(FromQt(QGuiApplication::clipboard()->text()));
    Refresh();
  });
  Item(mnuEdit_, "mnuEditDelete", "Delete", [this] {
    SelectionFromView();
    Delete();
    Refresh();
  });
  Item(mnuEdit_, "mnuEditSelectAll", "Select All", [this] {
    SelectAll();
    txtPage_->selectAll();
  });
  connect(mnuEdit_, &QMenu::aboutToShow, this, [this] { RefreshEditMenu(); });

  QMenu* options = BarMenu(bar, "mnuOptions", "Options");
  QMenu* font = SubMenu(options, "mnuFont", "Select Font");
  Item(font, "mnuFontNonJob", "All Atributes (NON-JOBS)...", [this] { ChoosePrinterFont(0); });
  Item(font, "mnuFontForEdit", "All Atributes (Selection) ...", [this] { ChoosePrinterFont(1); });
  Item(font, "mnuFontForSelection", "Name Only (selection)...", [this] { ChoosePrinterFont(2); });
  Item(font, "mnuFontNameOnlyJob", "Name Only (JOBS)", [this] { ChoosePrinterFont(3); });
  Item(options, "mnuFixedFontsOnly", "Fixed Fonts Only", [this] { FixedFontsOnly = !FixedFontsOnly; }, true);
  Item(options, "mnuToolsShowCNTR", "Show Control Characters", [this] { ShowCNTR = !ShowCNTR; }, true);
  Item(options, "mnuInHex", "In Hex", [this] { InHex = !InHex; }, true);
  Item(options, "mnuShowLEDs", "Show LEDs", [this] {
    ShowLEDs = !ShowLEDs;
    ApplyShowLEDs();
  }, true);
  QAction* onValue = Item(options, "mnuSetOnLineReturnValue", "Set On Line Return value ...",
                          [this] { AskOnLineReturnValue(); });
  QAction* offValue = Item(options, "mnuSetOffLineReturnValue", "Set Off Line Return Value ...",
                           [this] { AskOffLineReturnValue(); });
  Item(options, "mnuSendFault", "Send Fault", [this] { SetSendFault(!SendFAULT); }, true);
  Item(options, "mnuSendAck", "Send ACK", [this] { SetSendAck(!SendACK); }, true);
  connect(options, &QMenu::aboutToShow, this, [this, onValue, offValue] {
    onValue->setText(ToQt(OnLineReturnCaption()));
    offValue->setText(ToQt(OffLineReturnCaption()));
  });

  QMenu* settings = BarMenu(bar, "mnuSettings", "Settings");
  QMenu* newline = NewlineMenu(settings, [this](int n) { SetNewlineIs(static_cast<int16_t>(n)); });
  QMenu* byteSize = ByteSizeMenu(settings, "ByteSize", [this](bool ascii) { SetASCII(ascii); });
  QMenu* parity = ParityMenu(settings, [this](int p) { SetParity(static_cast<int16_t>(p)); });

  // The ticks show the window's state whenever a menu opens.
  const auto refreshChecks = [this] {
    CheckItem(*this, "mnuFixedFontsOnly", FixedFontsOnly);
    CheckItem(*this, "mnuToolsShowCNTR", ShowCNTR);
    CheckItem(*this, "mnuInHex", InHex);
    CheckItem(*this, "mnuShowLEDs", ShowLEDs);
    CheckItem(*this, "mnuSendFault", SendFAULT);
    CheckItem(*this, "mnuSendAck", SendACK);
    CheckLineSettings(*this, NewlineIs, Ascii, Parity);
  };
  for (QMenu* m : {options, settings, newline, byteSize, parity}) connect(m, &QMenu::aboutToShow, this, refreshChecks);

  QMenu* help = BarMenu(bar, "mnuHelp", "Help");
  Item(help, "mnuHelpPRT", "Help", [] {});

  mnuOnLine_ = bar->addAction(QString::fromStdString(OnLineCaption()));
  mnuOnLine_->setObjectName(QStringLiteral("mnuOnLine"));
  connect(mnuOnLine_, &QAction::triggered, this, [this] { ToggleOnLine(); });
}

void formPrinter::RefreshEditMenu() {
  SelectionFromView();
  const EditEnables e = EditMenuEnables(!QGuiApplication::clipboard()->text().isEmpty());
  const auto enable = [this](const char* name, bool on) {
    if (QAction* a = findChild<QAction*>(QString::fromLatin1(name))) a->setEnabled(on);
  };
  enable("mnuEditCut", e.Cut);
  enable("mnuEditCopy", e.Copy);
  enable("mnuEditDelete", e.Delete);
  enable("mnuEditSelectAll", e.SelectAll);
  enable("mnuEditPaste", e.Paste);
  enable("mnuToolsClear", e.Clear);
}

void formPrinter::SelectionFromView() {
  Refresh();  // the view's positions are the page's as it is now
  const QTextCursor c = txtPage_->textCursor();
  const size_t s = PagePosition(c.selectionStart()), e = PagePosition(c.selectionEnd());
  Select(s, e - s);
}

size_t formPrinter::PagePosition(int viewPos) const {
  // Each line break of the view stands for a CR LF of the page.
  const std::string& text = Page().Text();
  size_t v = static_cast<size_t>(std::max(0, viewPos));
  size_t p = 0;
  for (;;) {
    const size_t lf = text.find('\n', p);
    if (lf == std::string::npos) return p + std::min(v, text.size() - p);
    const size_t brk = lf > p && text[lf - 1] == '\r' ? lf - 1 : lf;
    if (v <= brk - p) return p + v;
    v -= brk - p + 1;
    p = lf + 1;
  }
}

const QTextCharFormat& formPrinter::ViewFormat(uint32_t index) {
  if (index >= viewFormats_.size()) viewFormats_.resize(index + 1);
  std::optional<QTextCharFormat>& slot = viewFormats_[index];
  if (!slot) {
    const PrinterCharFormat& f = Page().FormatOf(index);
    QTextCharFormat q;
    q.setFontFamilies({ToQt(f.FontName)});
    q.setFontPointSize(f.Size);
    q.setFontWeight(f.Bold ? QFont::Bold : QFont::Normal);
    q.setFontItalic(f.Italic);
    q.setFontUnderline(f.Underline);
    q.setFontStrikeOut(f.Strike);
    q.setForeground(HostColor(f.Color));
    // The offset in twips as a baseline shift of offset/20 points, given in
    // per cent of the font's height.
    if (f.Offset != 0 && f.Size > 0) q.setBaselineOffset(f.Offset / 20.0 / f.Size * 100.0);
    slot = q;
  }
  return *slot;
}

void formPrinter::Refresh() {
  refreshTimer_.stop();
  PrinterPage& page = Page();
  const std::string& text = page.Text();
  // What the view keeps: all it shows but the oldest lines the page dropped,
  // or nothing when it no longer holds the page's start as it is.
  const size_t dropped = page.Dropped();
  size_t shown = shownLength_, headChars = 0;
  if (dropped > 0) {
    if (dropped < shown && page.ChangedFrom() > 0) {
      headChars = dropped - page.DroppedBreaks();
      shown -= dropped;
    } else {
      shown = 0;
    }
  }
  const size_t from = std::min(page.ChangedFrom(), shown);
  if (dropped == 0 && from == text.size() && shown == text.size()) return;
  sinceRefresh_.start();
  QTextDocument* doc = txtPage_->document();
  if (from == 0) {
    // Shown anew from an empty document: one whose text was removed keeps its
    // buffer, and the page would be stored after it.
    txtPage_->clear();
  } else if (headChars > 0) {
    // The oldest lines leave in an edit of their own: one edit with the text
    // added at the end would lay out the whole page again.
    QTextCursor head(doc);
    head.setPosition(static_cast<int>(std::min<size_t>(headChars, static_cast<size_t>(doc->characterCount() - 1))),
                     QTextCursor::KeepAnchor);
    head.removeSelectedText();
  }
  QTextCursor c(doc);
  c.beginEditBlock();
  if (from > 0 && from < shown) {
    // The page changed inside what is shown: the view drops it from there on.
    const auto breaks =
        static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(from), '\n'));
    c.setPosition(static_cast<int>(from - breaks));
    c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    c.removeSelectedText();
  }
  c.movePosition(QTextCursor::End);
  // The runs from the one that holds `from`, found from the end, where the page grows.
  const std::vector<PrinterPage::Run>& runs = page.Runs();
  size_t i = runs.size(), at = text.size();
  while (i > 0 && at > from) at -= runs[--i].Length;
  int paragraph = doc->lastBlock().length() - 1;  // characters in the paragraph at the end
  for (; i < runs.size(); ++i) {
    const size_t end = at + runs[i].Length;
    const size_t s = std::max(at, from);
    at = end;
    if (end <= s) continue;
    // The page's CR LF becomes one character: a line separator, or a new
    // paragraph when this one is long enough.
    QString chunk = ToQt(text.substr(s, end - s));
    QChar* d = chunk.data();
    qsizetype out = 0;
    for (qsizetype k = 0; k < chunk.size(); ++k) {
      const QChar ch = d[k];
      if (ch == QLatin1Char('\r')) continue;
      if (ch != QLatin1Char('\n')) {
        ++paragraph;
        d[out++] = ch;
      } else if (paragraph >= kParagraphChars) {
        paragraph = 0;
        d[out++] = ch;
      } else {
        ++paragraph;
        d[out++] = QChar::LineSeparator;
      }
    }
    chunk.truncate(out);
    c.insertText(chunk, ViewFormat(runs[i].Format));
  }
  c.endEditBlock();
  page.MarkShown();
  shownLength_ = text.size();
  if (!txtPage_->textCursor().hasSelection()) {
    txtPage_->moveCursor(QTextCursor::End);
    txtPage_->ensureCursorVisible();
  }
  refreshMs_ = sinceRefresh_.elapsed();
}

void formPrinter::PageChanged() {
  if (refreshTimer_.isActive()) return;
  const qint64 interval = std::max<qint64>(RefreshIntervalMs, (RefreshShare + 1) * refreshMs_);
  const qint64 since = sinceRefresh_.isValid() ? sinceRefresh_.elapsed() : interval;
  const int wait = since >= interval ? 0 : static_cast<int>(interval - since);
  refreshTimer_.start(wait);
}

void formPrinter::PlaceOnLineSwitch(bool state) {
  const int y = state ? kLineY1 : kLineY2;
  cmdOnOffLineSwitch_->move(kLineX - kSwitchW / 2 + 10 / kTwipsPerPixel, y - kSwitchH / 2);
}

void formPrinter::StatusChanged() {
  if (mnuOnLine_) mnuOnLine_->setText(QString::fromStdString(OnLineCaption()));
  PlaceOnLineSwitch(OnLineFlag);
  shpInput_->SetColor(InputLampColor());
  shpOutput_->SetColor(OutputLamp);
  fraStatus_->setVisible(ShowLEDs);
}

void formPrinter::LayOut() {
  QWidget* client = centralWidget();
  if (isMinimized() || client->height() == 0) return;
  txtPage_->setGeometry(0, 0, client->width(), client->height());
  // The frame sits in the page's top right corner.
  fraStatus_->move(std::max(0, client->width() - kFrameW - 250 / kTwipsPerPixel), 0);
  fraStatus_->raise();
}

void formPrinter::ShowWindow() {
  Refresh();
  show();
  raise();
  LayOut();
}

void formPrinter::HideWindow() {
  hide();
  refreshTimer_.stop();
  // A window loaded again starts with an empty page.
  txtPage_->clear();
  shownLength_ = 0;
  viewFormats_.clear();
}

void formPrinter::SetCaption(const std::string& caption) { setWindowTitle(ToQt(caption)); }

void formPrinter::LoadPlacement(const std::string& section) {
  ui::LoadPlacement(*this, section, PlacementKeys::PositionSizeState, FirstPlace::BesideMainWindow);
}

void formPrinter::SavePlacement(const std::string& section) {
  ui::SavePlacement(*this, section, PlacementKeys::PositionSizeState);
}

void formPrinter::Later(std::function<void()> f) { QTimer::singleShot(0, this, std::move(f)); }

void formPrinter::ChoosePrinterFont(int mode) {
  if (mode == 1 || mode == 2) SelectionFromView();
  PrinterFontChoice choice = FontChoiceStart(mode);
  QFont start(ToQt(choice.Font.Name));
  if (choice.Font.Size > 0) start.setPointSizeF(choice.Font.Size);
  start.setBold(choice.Font.Bold);
  start.setItalic(choice.Font.Italic);
  start.setUnderline(choice.Font.Underline);
  start.setStrikeOut(choice.Font.Strike);
  // The options come before the font: the dialog lists its families when its
  // font is set, with the options it has then.
  QFontDialog dialog(this);
  dialog.setObjectName(QStringLiteral("fontDialog"));
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  dialog.setOption(QFontDialog::ScalableFonts);
  if (FixedFontsOnly) dialog.setOption(QFontDialog::MonospacedFonts);
  dialog.setCurrentFont(start);
  if (dialog.exec() != QDialog::Accepted) return;  // cancelled: nothing changes
  const QFont f = dialog.selectedFont();
  choice.Font.Name = FromQt(f.family());
  if (!choice.NameOnly) {
    if (f.pointSizeF() > 0) choice.Font.Size = static_cast<float>(f.pointSizeF());
    choice.Font.Bold = f.bold();
    choice.Font.Italic = f.italic();
    choice.Font.Underline = f.underline();
    choice.Font.Strike = f.strikeOut();
  }
  if (choice.Effects) {
    QColorDialog colors(HostColor(choice.Color), this);
    colors.setObjectName(QStringLiteral("colorDialog"));
    colors.setOption(QColorDialog::DontUseNativeDialog);
    colors.setWindowTitle(QStringLiteral("Color"));
    if (colors.exec() == QDialog::Accepted) choice.Color = ToHostColor(colors.selectedColor());
  }
  ApplyFontChoice(mode, choice);
  Refresh();
}

void formPrinter::closeEvent(QCloseEvent* event) {
  // The close box unloads the window; the object stays for its port.
  event->ignore();
  Unload();
}

bool formPrinter::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) LayOut();
  return QMainWindow::eventFilter(watched, event);
}

void InstallPrinterWindows() {
  ConsoleFactories.Printer = [](int16_t) -> std::unique_ptr<PrinterConsoleWindow> {
    return std::make_unique<formPrinter>();
  };
}

}  // namespace korva::ui
