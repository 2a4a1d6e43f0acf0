#include "serial/ui/formConsoles.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "board/ui/WindowPlacement.h"
#include "shell/ui/WindowHelpers.h"

namespace korva::ui {

namespace {

constexpr char kSection[] = "Consoles";

// Column names of the boxes, by ConsoleColumn.
constexpr std::array<const char*, ConsoleColumns> kBoxNames = {"chkCRT", "chkTTY", "chkNET",
                                                                "chkSerial", "chkPrinter", "chkSpooler"};
constexpr std::array<const char*, ConsoleColumns> kHeaders = {"   CRT", " TTY", "NET", "COM", "Printer", "Spooler"};

// What a row offers: each column hidden, shown or shown and enabled.
enum Offer { Hidden, Shown, Enabled };
std::array<Offer, ConsoleColumns> Offered(int port) {
  if (port <= 3) return {Enabled, Enabled, Enabled, Shown, Hidden, Hidden};
  if (port == 8 || port == 9) return {Hidden, Hidden, Hidden, Hidden, Enabled, Shown};
  if (port >= 14) return {Shown, Shown, Shown, Shown, Hidden, Hidden};
  return {Hidden, Hidden, Hidden, Hidden, Hidden, Hidden};
}

struct Description {
  int Port;
  const char* Name;
  const char* Caption;
};
constexpr std::array<Description, 8> kDescriptions = {{
    {0, "lblTTY", "TTY - MVME400 P0"},
    {1, "lblCRT", "CRT - MVME400 P1"},
    {2, "lblC1P0", " 2nd - MVME400 P0"},
    {3, "lblC1P1", " 2nd - MVME400 P1"},
    {8, "lblLPT", "LPT - MVME410 P1"},
    {9, "lblUL1", "UL1 - MVME410 P2"},
    {14, "lblSERA", "SERA"},
    {15, "lblSERB", "SERB"},
}};

void Colour(QWidget* w, const QColor& c) {
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, c);
  p.setColor(QPalette::Text, c);
  p.setColor(QPalette::ButtonText, c);
  w->setPalette(p);
}

QString Indexed(const char* name, int port) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(port); }

}  // namespace

formConsoles::formConsoles(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("formConsoles"));
  setWindowTitle(QStringLiteral("I/O Devices"));
  setModal(true);
  BuildConsoleGrid();
  setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
  adjustSize();
  LoadPlacement(*this, kSection, PlacementKeys::TopLeftWhenNormal, FirstPlace::CentredUnderOwnersTitleBar);
  SetTopMost(this);
}

void formConsoles::BuildConsoleGrid() {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(14);
  auto* device = new QLabel(QStringLiteral("Device"), this);
  grid->addWidget(device, 0, 0);
  for (int c = 0; c < ConsoleColumns; ++c) {
    auto* h = new QLabel(QString::fromLatin1(kHeaders[static_cast<size_t>(c)]), this);
    h->setObjectName(QStringLiteral("lblHeader%1").arg(c));
    grid->addWidget(h, 0, c + 1);
  }
  for (int port = 0; port < DevicePorts; ++port) {
    const auto p = static_cast<size_t>(port);
    const int row = port + 1;
    const std::array<Offer, ConsoleColumns> offer = Offered(port);
    const bool anyShown = offer != std::array<Offer, ConsoleColumns>{};
    const QColor colour = (port == 8 || port == 9) ? QColor(0, 0, 255) : QColor(0, 0, 0);

    lblConsole_[p] = new QLabel(QString::number(port), this);
    lblConsole_[p]->setObjectName(Indexed("lblConsole", port));
    lblConsole_[p]->setVisible(anyShown);
    Colour(lblConsole_[p], colour);
    grid->addWidget(lblConsole_[p], row, 0);
    for (int c = 0; c < ConsoleColumns; ++c) {
      auto* box = new QCheckBox(this);
      box->setObjectName(Indexed(kBoxNames[static_cast<size_t>(c)], port));
      box->setVisible(offer[static_cast<size_t>(c)] != Hidden);
      box->setEnabled(offer[static_cast<size_t>(c)] == Enabled);
      if (c != ColumnSpooler) Colour(box, colour);
      grid->addWidget(box, row, c + 1, Qt::AlignHCenter);
      boxes_[p][static_cast<size_t>(c)] = box;
      // The tick rule: a ticked box clears the rest of its row.
      connect(box, &QCheckBox::toggled, this, [this, p, c](bool on) {
        if (!on) return;
        for (int o = 0; o < ConsoleColumns; ++o)
          if (o != c) boxes_[p][static_cast<size_t>(o)]->setChecked(false);
      });
    }
  }
  for (const Description& d : kDescriptions) {
    auto* l = new QLabel(QString::fromLatin1(d.Caption), this);
    l->setObjectName(QString::fromLatin1(d.Name));
    grid->addWidget(l, d.Port + 1, ConsoleColumns + 1);
  }

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setDefault(true);
  auto* apply = new QPushButton(QStringLiteral("Apply"), this);
  apply->setObjectName(QStringLiteral("cmdApply"));
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("cmdCancel"));
  connect(ok, &QPushButton::clicked, this, [this] { Ok(); });
  connect(apply, &QPushButton::clicked, this, [this] { Apply(); });
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(apply);
  buttons->addWidget(cancel);

  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  top->addLayout(buttons);
  ShowConsoleTypes();
}

ConsoleTicks formConsoles::Ticks() const {
  ConsoleTicks ticks{};
  for (size_t p = 0; p < DevicePorts; ++p)
    for (size_t c = 0; c < ConsoleColumns; ++c) ticks[p][c] = boxes_[p][c]->isChecked();
  return ticks;
}

void formConsoles::ShowConsoleTypes() {
  const ConsoleTicks ticks = korva::ShowConsoleTypes();
  for (size_t p = 0; p < DevicePorts; ++p)
    for (size_t c = 0; c < ConsoleColumns; ++c) {
      const QSignalBlocker quiet(boxes_[p][c]);
      boxes_[p][c]->setChecked(ticks[p][c]);
    }
}

void formConsoles::Apply() {
  const ConsoleTicks ticks = Ticks();
  if (!ValidateConsoles(ticks)) return;
  ApplyConsoleTypes(ticks);
  ShowConsoleTypes();
}

void formConsoles::Ok() {
  const ConsoleTicks ticks = Ticks();
  if (!ValidateConsoles(ticks)) return;
  hide();
  ApplyConsoleTypes(ticks);
  accept();
}

void formConsoles::done(int result) {
  SavePlacement(*this, kSection, PlacementKeys::TopLeftWhenNormal);
  QDialog::done(result);
}

void ShowConsolesDialog(QWidget* parent) {
  formConsoles dialog(parent);
  dialog.exec();
}

}  // namespace korva::ui
