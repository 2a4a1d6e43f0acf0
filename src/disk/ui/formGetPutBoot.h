// The get/put boot window ("Boot"): edits the get/put values (disk, start
// address, blocks, start LSN) and the alternate boot's PC and SP, saves them to
// the settings, and copies runs of logical sectors between a drive and memory.
// The checks and transfers are the boot core's (disk/Boot.h); the window shows
// each field red while its text is bad.
#pragma once
#include <QDialog>
#include <cstdint>

#include "disk/Boot.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace korva {

class formGetPutBoot : public QDialog {
  Q_OBJECT
 public:
  explicit formGetPutBoot(QWidget* parent = nullptr);
  ~formGetPutBoot() override;

  // The values the caller sets before showing and reads back after OK.
  int32_t LoadAddress = 0;
  int32_t StartLSN = 0;
  int32_t Blocks = 0;
  int16_t Disk = 0;  // drive 0-3; kept between showings
  int32_t AltBootPC = 0;
  int32_t AltBootSP = 0;
  int16_t DialogResult = 0;  // 1 after OK, 0 after Cancel or the close box

  // Fills the fields from the members and shows the window modally; returns
  // when OK, Cancel or the close box hides it.
  void ShowGetPutBoot();
  // Saves the placement and hides the window; the members keep their values.
  void Unload();

  // The field texts as the core checks them (code page of the machine).
  GetPutFields Fields() const;

  QGroupBox* frmGetPut;
  QLineEdit* txtDisk;
  QLineEdit* txtLoadAddress;
  QLineEdit* txtBlocks;
  QLineEdit* txtStartLSN;
  QPushButton* cmdReadFromDisk;
  QPushButton* cmdWriteToDisk;
  QGroupBox* frmAlternateBoot;
  QLineEdit* txtAlternateBootPC;
  QLineEdit* txtAlternateBootSP;
  QPushButton* cmdSaveSettings;
  QPushButton* cmdCancelButton;
  QPushButton* cmdOKButton;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Escape acts as Cancel

 private:
  void FillFields();
  // True when every field is good; otherwise shows the "Error in Input" box.
  bool ValidateFields();
  void ReadFields();
  void MarkField(QLineEdit* box);
  void cmdOKButton_Click();
  void cmdCancelButton_Click();
  void cmdSaveSettings_Click();

  bool loaded_ = false;  // the placement has been read since the last unload
};

// The window of this run, created on first use and kept.
formGetPutBoot& GetPutBootForm();
// The main window's "Get/Put Boot ...": the window shows the get/put and
// alternate-boot values of the program; after OK the program takes them back.
void ShowGetPutBoot();
// Unloads the window when it exists (the main window's close).
void UnloadGetPutBoot();

}  // namespace korva
