#include "terminal/ui/DialogColors.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "board/ui/WindowPlacement.h"
#include "host/CodePage.h"
#include "host/qt/QtText.h"
#include "terminal/ui/DialogHelpers.h"

namespace korva::ui {

namespace {

constexpr char kSection[] = "ColorConfig";
constexpr int kGap = 5;  // between the eighth and the ninth row and column of the samples

// A readable caption on a colour button.
QColor CaptionColor(const QColor& back) { return back.lightness() > 120 ? Qt::black : Qt::white; }

}  // namespace

ColorSamples::ColorSamples(const ColorConfig& colors, QWidget* parent) : QWidget(parent), colors_(colors) {
  setObjectName(QStringLiteral("lblSamples"));
  const QFontMetrics m(font());
  cellWidth_ = m.horizontalAdvance(QStringLiteral("Text")) + 8;
  cellHeight_ = m.height() + 4;
  setFixedSize(sizeHint());
}

QSize ColorSamples::sizeHint() const { return {16 * cellWidth_ + kGap, 16 * cellHeight_ + kGap}; }

QRect ColorSamples::CellRect(int column, int row) const {
  return {column * cellWidth_ + (column >= 8 ? kGap : 0), row * cellHeight_ + (row >= 8 ? kGap : 0), cellWidth_,
          cellHeight_};
}

void ColorSamples::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const ColorPalette& pal = colors_.Palette();
  for (int row = 0; row < 16; ++row)
    for (int column = 0; column < 16; ++column) {
      const QRect r = CellRect(column, row);
      p.fillRect(r, HostColor(pal[static_cast<size_t>(row)]));
      p.setPen(HostColor(pal[static_cast<size_t>(column)]));
      p.drawText(r, Qt::AlignCenter, QStringLiteral("Text"));
    }
}

DialogColors::DialogColors(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("DialogColors"));
  setWindowTitle(QStringLiteral("Colors"));

  auto* menuBar = new QMenuBar(this);
  QMenu* mnuFile = menuBar->addMenu(QStringLiteral("File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  QAction* mnuLoad = mnuFile->addAction(QStringLiteral("Load Scheme"));
  mnuLoad->setObjectName(QStringLiteral("mnuLoad"));
  mnuFile->addSeparator();
  QAction* mnuSave = mnuFile->addAction(QStringLiteral("Save Scheme"));
  mnuSave->setObjectName(QStringLiteral("mnuSave"));

  lblSamples_ = new ColorSamples(*this, this);
  lblColorsName_ = new QLabel(this);
  lblColorsName_->setObjectName(QStringLiteral("lblColorsName"));
  lblColorsName_->setAlignment(Qt::AlignCenter);
  lblColorsName_->setFrameShape(QFrame::Panel);
  lblColorsName_->setFrameShadow(QFrame::Sunken);

  // Buttons 0-15 above their sample columns; "Cursor" over the last two.
  auto* buttons = new QGridLayout;
  buttons->setHorizontalSpacing(0);
  buttons->setVerticalSpacing(2);
  const int columnWidth = lblSamples_->CellRect(1, 0).left();
  for (int k = 0; k < 17; ++k) {
    auto* b = new QPushButton(k < 16 ? QString::number(k) : QStringLiteral("Cursor"), this);
    b->setObjectName(QStringLiteral("cmdEditColor_%1").arg(k));
    b->setAutoDefault(false);
    b->setFixedWidth(k < 16 ? columnWidth : 2 * columnWidth);
    cmdEditColor_[static_cast<size_t>(k)] = b;
    connect(b, &QPushButton::clicked, this, [this, k] { EditColor(k); });
  }
  auto* names = new QHBoxLayout;
  names->setContentsMargins(0, 0, 0, 0);
  names->addSpacing(2 * columnWidth);
  names->addWidget(lblColorsName_, 1);
  names->addSpacing(kGap);
  names->addWidget(cmdEditColor_[16]);
  auto* row = new QHBoxLayout;
  row->setSpacing(0);
  for (int k = 0; k < 16; ++k) {
    if (k == 8) row->addSpacing(kGap);
    row->addWidget(cmdEditColor_[static_cast<size_t>(k)]);
  }
  row->addStretch(1);

  comboColors_ = new QComboBox(this);
  comboColors_->setObjectName(QStringLiteral("comboColors"));
  for (int c = 0; c < ColorSchemes; ++c) comboColors_->addItem(QString::fromLatin1(ColorSchemeName(c)));
  connect(comboColors_, &QComboBox::activated, this, [this](int index) { Choose(index); });

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKButton"));
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  auto* load = new QPushButton(QStringLiteral("Load File"), this);
  load->setObjectName(QStringLiteral("cmdLoadFile"));
  auto* save = new QPushButton(QStringLiteral("Save File"), this);
  save->setObjectName(QStringLiteral("cmdSaveFile"));
  for (QPushButton* b : {ok, cancel, load, save}) b->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, [this] {
    Accepted = 1;
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, [this] {
    Accepted = 0;
    reject();
  });
  const auto loadFile = [this] {
    LoadColorsFile();
    Refresh();
  };
  const auto saveFile = [this] { SaveColorsFile(); };
  connect(load, &QPushButton::clicked, this, loadFile);
  connect(mnuLoad, &QAction::triggered, this, loadFile);
  connect(save, &QPushButton::clicked, this, saveFile);
  connect(mnuSave, &QAction::triggered, this, saveFile);

  auto* side = new QVBoxLayout;
  side->addWidget(ok);
  side->addWidget(cancel);
  side->addSpacing(12);
  side->addWidget(comboColors_);
  side->addSpacing(12);
  side->addWidget(load);
  side->addWidget(save);
  side->addStretch(1);
  auto* grid = new QVBoxLayout;
  grid->setSpacing(2);
  grid->addLayout(names);
  grid->addLayout(row);
  grid->addWidget(lblSamples_);
  auto* layout = new QHBoxLayout(this);
  layout->setMenuBar(menuBar);
  layout->addLayout(grid);
  layout->addSpacing(8);
  layout->addLayout(side);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void DialogColors::ShowColorConfig() {
  Accepted = 0;
  if (ColorsCode < 0 || ColorsCode >= ColorSchemes) ColorsCode = 0;
  SelectColorScheme(ColorsCode);
  Refresh();
  setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
  LoadPlacement(*this, kSection, PlacementKeys::TopLeftWhenNormal);
  exec();
}

void DialogColors::Refresh() {
  {
    const QSignalBlocker block(comboColors_);
    comboColors_->setCurrentIndex(ColorsCode);
  }
  lblColorsName_->setText(ToQt(ColorsName));
  for (int k = 0; k < 17; ++k) {
    const QColor c = HostColor(k < 16 ? Palette()[static_cast<size_t>(k)] : CursorColor);
    cmdEditColor_[static_cast<size_t>(k)]->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid gray; padding: 2px; }")
            .arg(c.name(), CaptionColor(c).name()));
  }
  lblSamples_->update();
}

void DialogColors::Choose(int code) {
  SelectColorScheme(code);
  Refresh();
}

void DialogColors::EditColor(int k) {
  const uint32_t now = k < 16 ? Palette()[static_cast<size_t>(k)] : CursorColor;
  QColorDialog dialog(HostColor(now), this);
  dialog.setObjectName(QStringLiteral("colorDialog"));
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted) return;
  ColorConfig::EditColor(k, ToHostColor(dialog.selectedColor()));
  Refresh();
}

void DialogColors::done(int result) {
  SavePlacement(*this, kSection, PlacementKeys::TopLeftWhenNormal);
  QDialog::done(result);
}

bool SelectColors(CrtColorScheme& choice, QWidget* parent) {
  DialogColors dialog(parent);
  for (int i = 0; i < 16; ++i) dialog.ScreenColors(i, static_cast<int32_t>(choice.ScreenColors[static_cast<size_t>(i)]));
  dialog.ColorsName = choice.ColorsName;
  dialog.ColorsCode = choice.ColorsCode;
  dialog.CursorType = choice.CursorType;
  dialog.CursorFront = choice.CursorFront;
  dialog.CursorColor = choice.CursorColor;
  dialog.ShowColorConfig();
  if (dialog.Accepted != 1) return false;
  choice.ScreenColors = dialog.Palette();
  choice.ColorsName = dialog.ColorsName;
  choice.ColorsCode = dialog.ColorsCode;
  choice.CursorType = dialog.CursorType;
  choice.CursorFront = dialog.CursorFront;
  choice.CursorColor = dialog.CursorColor;
  return true;
}

}  // namespace korva::ui
