#include "host/qt/QtHost.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QIODevice>
#include <QInputDialog>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include <vector>

#include "host/CodePage.h"
#include "host/IniFile.h"
#include "host/qt/QtSocket.h"
#include "host/qt/QtTimer.h"

namespace korva {

namespace {

QString ToQt(const std::string& machineText) { return QString::fromStdString(Cp1252ToUtf8(machineText)); }
std::string FromQt(const QString& text) { return Utf8ToCp1252(text.toStdString()); }
// Dialog texts from the machine end their lines with CR LF.
QString DialogText(const std::string& machineText) {
  QString t = ToQt(machineText);
  t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return t;
}
bool HaveWidgets() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

// Section and key names may not hold the separator of QSettings' key paths.
std::string CleanPart(std::string name) {
  for (char& c : name)
    if (c == '/' || c == '\\') c = '_';
  return name;
}

// The settings file is plain INI text (see host/IniFile.h): QSettings' own INI
// format would give a section called "General" a meaning of its own, read
// backslashes in hand-written paths as escapes and commas as lists.
bool ReadIni(QIODevice& device, QSettings::SettingsMap& map) {
  const QByteArray bytes = device.readAll();
  for (const IniEntry& e : ParseIni(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())))) {
    const std::string section = CleanPart(e.Section), key = CleanPart(e.Key);
    if (section.empty()) continue;
    const QString path = QString::fromStdString(section + "/" + key);
    if (!map.contains(path)) map.insert(path, QString::fromStdString(e.Value));
  }
  return true;
}

bool WriteIni(QIODevice& device, const QSettings::SettingsMap& map) {
  std::vector<IniEntry> entries;
  for (auto it = map.cbegin(); it != map.cend(); ++it) {
    const std::string path = it.key().toStdString();
    const size_t slash = path.find('/');
    if (slash == std::string::npos) continue;  // keys are always "section/key"
    entries.push_back({path.substr(0, slash), path.substr(slash + 1), it.value().toString().toStdString()});
  }
  const std::string text = SerializeIni(entries);
  return device.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
}

QSettings::Format IniTextFormat() {
  static const QSettings::Format format = QSettings::registerFormat("ini", ReadIni, WriteIni);
  return format;
}

// The stored spelling of section/key: names are compared without regard to
// case, as a hand-edited file may spell them differently.
QString FindKey(QSettings& store, const std::string& section, const std::string& key) {
  const QString path = QString::fromStdString(CleanPart(section) + "/" + CleanPart(key));
  if (store.contains(path)) return path;
  for (const QString& k : store.allKeys())
    if (k.compare(path, Qt::CaseInsensitive) == 0) return k;
  return path;
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
  OpenStore();
}

QtHost::~QtHost() {
  periodic_.reset();
  if (store_) store_->sync();
  delete waitTimer_;
  while (busyDepth_ > 0) EndBusy();
}

void QtHost::OpenStore() {
  if (store_) store_->sync();
  QDir().mkpath(QString::fromStdString(configDir_));
  store_ = std::make_unique<QSettings>(QString::fromStdString(SettingsFilePath()), IniTextFormat());
}

std::string QtHost::SettingsFilePath() const {
  return QDir(QString::fromStdString(configDir_)).filePath(ToQt(CleanPart(appName_)) + ".ini").toStdString();
}

void QtHost::SetApplicationName(const std::string& name) {
  if (name == appName_) return;
  appName_ = name.empty() ? std::string(AppTitle) : name;
  OpenStore();
}

std::unique_ptr<HostSocket> QtHost::CreateSocket() { return std::make_unique<QtSocket>(); }

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
  const QString path = FindKey(*store_, section, key);
  if (!store_->contains(path)) return defaultValue;
  return FromQt(store_->value(path).toString());
}

void QtHost::SaveSetting(const std::string& section, const std::string& key, const std::string& value) {
  store_->setValue(FindKey(*store_, section, key), ToQt(value));
  store_->sync();
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
