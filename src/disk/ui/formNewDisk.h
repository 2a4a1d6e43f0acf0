// The "Create New Disk" dialog: blank IMD images of the built-in formats, typed
// and generic raw images, and the expander of compressed IMD images (menu "Disk
// Tools"). The writers are core code (disk/NewDisk.h, disk/RawFile.h); the
// dialog is their progress display and cancel button, and keeps pumping window
// events while they run so that Cancel and the close box stay live.
#pragma once
#include <QDialog>
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "disk/RawFile.h"
#include "tables/Helpers.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace korva {

class formNewDisk : public QDialog, public NewDiskProgress {
  Q_OBJECT
 public:
  // Loads the dialog: reads its placement from section "NewDisk". The built-in
  // formats are built the first time a dialog is created in a run.
  explicit formNewDisk(QWidget* parent = nullptr);
  // Unloads: saves the placement.
  ~formNewDisk() override;

  // Mode 1 opens on the IMD tab, 2 on the raw tab (3 on the generic tab).
  // Modal; returns when the dialog is hidden.
  void ShowNewDisk(int32_t mode);

  // NewDiskProgress: the writers' view of the progress bar, count label and Cancel.
  void SetMinMAx(int32_t min, int32_t max) override;
  void SetValue(int32_t value) override;
  void ShowCount(int64_t bytes) override;
  // Lets pending window events run (at most every few milliseconds), then
  // answers whether Cancel or the close box was used.
  bool CancelRequested() override;

  // Dialog state.
  bool Cancelled = false;  // set by Cancel and the close box
  int16_t CurrentTab = 0;  // 1-3; 0 before the first selection
  int16_t DialogResult = 0;
  bool Busy = false;
  std::string NewFilePath;
  int64_t DiskSize = 0;  // from the size field
  int32_t FillByte = 0;  // from the fill field
  int16_t SelectedImdFormat = 0;
  std::unique_ptr<classRawFile> RawFile;

  // Controls.
  QMenuBar* menuBar;
  QMenu* mnuDisk;
  QAction* mnuECS;
  QTabWidget* tsCreate;
  std::array<QGroupBox*, 4> frmCreate{};  // 1-3
  std::array<QRadioButton*, 9> optDisksIMD{};
  std::array<QCheckBox*, 3> chkClock{};
  QLabel* lblExtraComments;
  QPlainTextEdit* txtExtraComments;
  std::array<QRadioButton*, 18> optDisks{};
  QLineEdit* txtDiskSize;
  QLineEdit* txtFillByte;
  QLabel* lblDiskSize;
  QLabel* lblFillByte;
  QPushButton* cmdCreate;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;
  QProgressBar* pbWait;
  QLabel* lblCount;

  // The marks of the two generic fields (0x00BBGGRR colours) as last set.
  TextBoxMarks DiskSizeMarks, FillByteMarks;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Escape acts as Cancel

 private:
  void BuildControls();
  void SelectCreateTab(int16_t tab);
  void InitNewDiskControls();
  void SelectImdFormat(int16_t row);
  void SetImdClock(int16_t format, int16_t clock);
  void DiskSizeChanged();
  void FillByteChanged();
  bool CheckRawFields(std::string& messages) const;
  std::string ExtraComments() const;
  void cmdCreate_Click();
  void CreateSelected();
  void cmdOK_Click();
  void cmdCancel_Click();
  void mnuECS_Click();
  void SetBusy(bool busy);

  bool clockGuard_ = false;
  std::chrono::steady_clock::time_point lastPump_{};
};

// The main window's "Create IMD Image ..." (mode 1) and "Create Raw Image ..."
// (mode 2): loads the dialog, shows it and unloads it when it is hidden.
void ShowNewDisk(int32_t mode, QWidget* parent = nullptr);

}  // namespace korva
