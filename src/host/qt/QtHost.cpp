#include "host/qt/QtHost.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>

#include <vector>

#include "host/CodePage.h"
#include "host/qt/QtText.h"
#include "host/qt/QtSocket.h"
#include "host/qt/QtTimer.h"

namespace korva {

namespace {

// Dialog texts from the machine end their lines with CR LF or a CR alone.
QString DialogText(const std::string& machineText) {
  QString t = ToQt(machineText);
  t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t;
}
bool HaveWidgets() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

// Section and key names never hold a slash or a backslash (files written by
// earlier versions have them as "_").
std::string CleanPart(std::string name) {
  for (char& c : name)
    if (c == '/' || c == '\\') c = '_';
  return name;
}

// "Text File (*.txt)|*.txt|All Files (*.*)|*.*" as Qt's name filters
// "Text File (*.txt) (*.txt *.TXT)" and "All Files (*.*) (*)": file names on this
// host are case-sensitive, and "*.*" would miss names without a dot.
QStringList NameFilters(const std::string& filter) {
  const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    const auto add = [&patterns](const QString& pattern) {
      if (!pattern.isEmpty() && !patterns.contains(pattern)) patterns << pattern;
    };
    for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      const QString pattern = p.trimmed();
      if (pattern == QLatin1String("*.*")) {
        add(QStringLiteral("*"));
        continue;
      }
      add(pattern);
      add(pattern.toLower());
      add(pattern.toUpper());
    }
    if (!patterns.isEmpty())
      out << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return out;
}

}  // namespace

QtHost::QtHost(const std::string& configDir) : configDir_(configDir) {
  if (configDir_.empty())
    configDir_ = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                     .filePath(QString::fromLatin1(AppTitle))
                     .toStdString();
}

QtHost::~QtHost() {
  periodic_.reset();
  if (store_) store_->Write();
  delete waitTimer_;
  while (busyDepth_ > 0) EndBusy();
}

SettingsFile& QtHost::Store() {
  if (store_) return *store_;
  QDir().mkpath(QString::fromStdString(configDir_));
  store_ = std::make_unique<SettingsFile>(SettingsFilePath());
  if (!store_->LoadProblem().empty())
    MessageBox("The settings file " + Utf8ToCp1252(store_->Path()) + " was not read: " +
                   Utf8ToCp1252(store_->LoadProblem()) +
                   ".\r\n\r\nThe defaults are used, and the settings of this run are not saved.",
               "Settings not read", MsgButtons::OK, MsgIcon::Exclamation);
  return *store_;
}

void QtHost::WriteStore() {
  if (holdDepth_ > 0 || !store_) return;
  if (store_->Write())
    saveFailure_.clear();
  else if (!store_->SaveProblem().empty())
    saveFailure_ = store_->Path() + ": " + store_->SaveProblem();
}

void QtHost::HoldSettings() { ++holdDepth_; }

void QtHost::ReleaseSettings() {
  if (holdDepth_ > 0 && --holdDepth_ == 0) WriteStore();
}

void QtHost::FinishSettings() {
  holdDepth_ = 0;
  WriteStore();
  if (saveFailure_.empty() || failureShown_) return;
  failureShown_ = true;
  MessageBox("The settings were not saved.\r\n\r\n" + Utf8ToCp1252(saveFailure_), "Settings not saved",
             MsgButtons::OK, MsgIcon::Exclamation);
}

std::string QtHost::SettingsFilePath() const {
  return QDir(QString::fromStdString(configDir_)).filePath(ToQt(CleanPart(appName_)) + ".ini").toStdString();
}

void QtHost::SetApplicationName(const std::string& name) {
  const std::string wanted = name.empty() ? std::string(AppTitle) : name;
  if (wanted == appName_) return;
  if (store_) {
    const int held = holdDepth_;
    holdDepth_ = 0;
    WriteStore();
    holdDepth_ = held;
  }
  store_.reset();
  appName_ = wanted;
}

std::unique_ptr<HostSocket> QtHost::CreateSocket() { return std::make_unique<QtSocket>(); }

std::unique_ptr<HostNameLookup> QtHost::LookupName(const std::string& address,
                                                   std::function<void(const std::string&)> answer) {
  return LookupNameQt(address, std::move(answer));
}

HostTimer& QtHost::PeriodicTimer() {
  if (!periodic_) periodic_ = std::make_unique<QtTimer>();
  return *periodic_;
}

void QtHost::PumpEvents() {
  const auto now = clock_();
  if (now - lastPump_ < PumpInterval) return;
  lastPump_ = now;
  if (!QCoreApplication::instance()) return;
  if (BeforePump) BeforePump();
  QCoreApplication::processEvents();
}

void QtHost::WaitEvents(int maxMs) {
  if (!QCoreApplication::instance()) return;
  if (BeforePump) BeforePump();
  if (!waitTimer_) {
    waitTimer_ = new QTimer;
    waitTimer_->setSingleShot(true);
  }
  // The timer's expiry is an event too, so the wait ends after maxMs at the latest.
  waitTimer_->start(maxMs < 0 ? 0 : maxMs);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  waitTimer_->stop();
  lastPump_ = clock_();
}

MsgAnswer QtHost::MessageBox(const std::string& text, const std::string& title, MsgButtons buttons, MsgIcon icon) {
  if (!HaveWidgets()) return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::OK;
  QMessageBox::Icon qIcon = QMessageBox::NoIcon;
  switch (icon) {
    case MsgIcon::None: qIcon = QMessageBox::NoIcon; break;
    case MsgIcon::Information: qIcon = QMessageBox::Information; break;
    case MsgIcon::Exclamation: qIcon = QMessageBox::Warning; break;
    case MsgIcon::Critical: qIcon = QMessageBox::Critical; break;
    case MsgIcon::Question: qIcon = QMessageBox::Question; break;
  }
  QMessageBox::StandardButtons qButtons = QMessageBox::Ok;
  QMessageBox::StandardButton escape = QMessageBox::Ok;
  if (buttons == MsgButtons::OKCancel) qButtons = QMessageBox::Ok | QMessageBox::Cancel, escape = QMessageBox::Cancel;
  if (buttons == MsgButtons::YesNo) qButtons = QMessageBox::Yes | QMessageBox::No, escape = QMessageBox::No;

  QMessageBox box(qIcon, ToQt(title), DialogText(text), qButtons, QApplication::activeWindow());
  box.setEscapeButton(escape);
  switch (box.exec()) {
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::OK;
  }
}

std::optional<std::string> QtHost::InputBox(const std::string& prompt, const std::string& title,
                                            const std::string& defaultText) {
  if (!HaveWidgets()) return std::nullopt;
  bool ok = false;
  const QString answer = QInputDialog::getText(QApplication::activeWindow(), ToQt(title), DialogText(prompt),
                                               QLineEdit::Normal, ToQt(defaultText), &ok);
  if (!ok) return std::nullopt;
  return FromQt(answer);
}

void QtHost::BeginBusy() {
  ++busyDepth_;
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void QtHost::EndBusy() {
  if (busyDepth_ == 0) return;  // an unmatched end must not pop someone else's pointer
  --busyDepth_;
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) QGuiApplication::restoreOverrideCursor();
}

void QtHost::Beep() {
  if (HaveWidgets()) QApplication::beep();
}

std::string QtHost::GetSetting(const std::string& section, const std::string& key, const std::string& defaultValue) {
  const std::string* value = Store().Find(CleanPart(section), CleanPart(key));
  return value ? Utf8ToCp1252(*value) : defaultValue;
}

void QtHost::SaveSetting(const std::string& section, const std::string& key, const std::string& value) {
  Store().Set(CleanPart(section), CleanPart(key), Cp1252ToUtf8(value));
  WriteStore();
}

FileDialogResult QtHost::FileDialog(const FileDialogRequest& request) {
  FileDialogResult result;
  if (!HaveWidgets()) {
    result.What = FileDialogResult::Outcome::Failed;
    result.ErrorSource = "QtHost";
    result.ErrorNumber = 1;
    result.ErrorDescription = "No window system for the file dialog";
    return result;
  }
  QFileDialog dialog(QApplication::activeWindow(), ToQt(request.Title),
                     QString::fromStdString(request.InitialDirectory));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);  // the descriptions name their patterns already
  dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(!request.Save && (request.Flags & FileDialogFlags::FileMustExist) ? QFileDialog::ExistingFile
                                                                                      : QFileDialog::AnyFile);
  if (request.Save && !(request.Flags & FileDialogFlags::OverwritePrompt))
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  const QStringList filters = NameFilters(request.Filter);
  dialog.setNameFilters(filters);
  if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
    dialog.selectNameFilter(filters[request.FilterIndex - 1]);
  if (!request.DefaultExtension.empty()) dialog.setDefaultSuffix(ToQt(request.DefaultExtension));
  if (!request.FileName.empty()) dialog.selectFile(QString::fromStdString(request.FileName));

  QCheckBox* readOnly = nullptr;
  if (!request.Save && !(request.Flags & FileDialogFlags::HideReadOnly)) {
    readOnly = new QCheckBox(QStringLiteral("read-only"), &dialog);
    readOnly->setObjectName(QStringLiteral("readOnly"));
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
      grid->addWidget(readOnly, grid->rowCount(), 0, 1, grid->columnCount());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;  // cancelled
  const QString path = dialog.selectedFiles().constFirst();
  result.What = FileDialogResult::Outcome::Chosen;
  result.Path = path.toStdString();
  result.FileTitle = QFileInfo(path).fileName().toStdString();
  result.ReadOnly = readOnly && readOnly->isChecked();
  return result;
}

}  // namespace korva
