#include "support/ScriptedHost.h"

#include <algorithm>
#include <utility>

#include "host/CodePage.h"
#include "host/DateTime.h"

namespace korva {

int ScriptedTimer::Fire(int count) {
  int ran = 0;
  for (int i = 0; i < count && Running(); ++i, ++ran) Tick();
  return ran;
}

ScriptedHost::ScriptedHost(bool install) : Clock(*DateSerial(2024, 6, 15, 12, 0, 0)), installed_(install) {
  if (installed_) SetHost(this);
}

ScriptedHost::~ScriptedHost() {
  for (ScriptedSocket* s : Sockets) s->ForgetHost();
  if (installed_ && CurrentHost == this) SetHost(nullptr);
}

std::vector<HostCall> ScriptedHost::CallsOf(HostCall::Kind kind) const {
  std::vector<HostCall> out;
  for (const HostCall& c : Calls)
    if (c.What == kind) out.push_back(c);
  return out;
}

void ScriptedHost::Record(HostCall::Kind kind, const std::string& text, const std::string& title,
                          const std::string& value, MsgButtons buttons, MsgIcon icon) {
  HostCall c;
  c.What = kind;
  c.Text = text;
  c.Title = title;
  c.Value = value;
  c.Buttons = buttons;
  c.Icon = icon;
  Calls.push_back(std::move(c));
}

void ScriptedHost::ClearCalls() {
  Calls.clear();
  FileDialogs.clear();
  PumpCount = 0;
}

void ScriptedHost::PumpEvents() {
  ++PumpCount;
  const std::vector<ScriptedSocket*> sockets = Sockets;  // a pump may make or end sockets
  for (ScriptedSocket* s : sockets)
    if (std::find(Sockets.begin(), Sockets.end(), s) != Sockets.end()) s->Pump();
  if (OnPumpEvents) OnPumpEvents();
}

namespace {
// Marks its lookup cancelled when the owner lets it go.
class ScriptedLookup final : public HostNameLookup {
 public:
  explicit ScriptedLookup(std::shared_ptr<ScriptedHost::Lookup> lookup) : lookup_(std::move(lookup)) {}
  ~ScriptedLookup() override { lookup_->Cancelled = true; }

 private:
  std::shared_ptr<ScriptedHost::Lookup> lookup_;
};
}  // namespace

std::unique_ptr<HostNameLookup> ScriptedHost::LookupName(const std::string& address,
                                                         std::function<void(const std::string&)> answer) {
  if (LookupMaker) return LookupMaker(address, std::move(answer));
  auto lookup = std::make_shared<Lookup>();
  lookup->Address = address;
  lookup->Answer = std::move(answer);
  Lookups.push_back(lookup);
  return std::make_unique<ScriptedLookup>(lookup);
}

bool ScriptedHost::AnswerLookup(size_t index, const std::string& name) {
  if (index >= Lookups.size()) return false;
  const std::shared_ptr<Lookup> lookup = Lookups[index];
  if (lookup->Cancelled || lookup->Answered) return false;
  lookup->Answered = true;
  const auto answer = lookup->Answer;  // the answer may end the lookup
  answer(name);
  return true;
}

std::unique_ptr<HostSocket> ScriptedHost::CreateSocket() {
  if (SocketMaker) return SocketMaker();
  return std::make_unique<ScriptedSocket>(this);
}

MsgAnswer ScriptedHost::MessageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                                   MsgIcon icon) {
  Record(HostCall::Kind::MessageBox, text, title, "", buttons, icon);
  if (messageAnswers_.empty()) return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::OK;
  const MsgAnswer a = messageAnswers_.front();
  messageAnswers_.pop_front();
  return a;
}

std::optional<std::string> ScriptedHost::InputBox(const std::string& prompt, const std::string& title,
                                                  const std::string& defaultText) {
  Record(HostCall::Kind::InputBox, prompt, title, defaultText);
  if (inputAnswers_.empty()) return std::nullopt;
  std::optional<std::string> a = inputAnswers_.front();
  inputAnswers_.pop_front();
  return a;
}

void ScriptedHost::AnswerFile(const std::string& path, bool readOnly) {
  FileDialogResult r;
  r.What = FileDialogResult::Outcome::Chosen;
  r.Path = path;
  const size_t slash = path.rfind('/');
  r.FileTitle = slash == std::string::npos ? path : path.substr(slash + 1);
  r.ReadOnly = readOnly;
  fileAnswers_.push_back(r);
}

void ScriptedHost::FailFile(int32_t number, const std::string& source, const std::string& description) {
  FileDialogResult r;
  r.What = FileDialogResult::Outcome::Failed;
  r.ErrorNumber = number;
  r.ErrorSource = source;
  r.ErrorDescription = description;
  fileAnswers_.push_back(r);
}

FileDialogResult ScriptedHost::FileDialog(const FileDialogRequest& request) {
  Record(HostCall::Kind::FileDialog, request.FileName, request.Title);
  FileDialogs.push_back(request);
  if (fileAnswers_.empty()) return {};
  FileDialogResult a = fileAnswers_.front();
  fileAnswers_.pop_front();
  return a;
}

void ScriptedHost::BeginBusy() {
  Record(HostCall::Kind::BeginBusy);
  ++BusyDepth;
}

void ScriptedHost::EndBusy() {
  Record(HostCall::Kind::EndBusy);
  --BusyDepth;
}

void ScriptedHost::Beep() { Record(HostCall::Kind::Beep); }

ScriptedHost::Stored* ScriptedHost::Find(const std::string& section, const std::string& key) {
  for (Stored& s : settings_)
    if (s.Application == applicationName_ && EqualsNoCase(s.Section, section) && EqualsNoCase(s.Key, key))
      return &s;
  return nullptr;
}

const ScriptedHost::Stored* ScriptedHost::Find(const std::string& section, const std::string& key) const {
  return const_cast<ScriptedHost*>(this)->Find(section, key);
}

std::string ScriptedHost::GetSetting(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) {
  Record(HostCall::Kind::GetSetting, key, section, defaultValue);
  const Stored* s = Find(section, key);
  return s ? s->Value : defaultValue;
}

void ScriptedHost::SaveSetting(const std::string& section, const std::string& key, const std::string& value) {
  Record(HostCall::Kind::SaveSetting, key, section, value);
  PresetSetting(section, key, value);
  if (SettingsHeld > 0)
    heldSaves_ = true;
  else
    ++SettingsWrites;
}

void ScriptedHost::ReleaseSettings() {
  if (SettingsHeld == 0 || --SettingsHeld > 0) return;
  SettingsWrites += heldSaves_ ? 1 : 0;
  heldSaves_ = false;
}

void ScriptedHost::SetApplicationName(const std::string& name) {
  Record(HostCall::Kind::SetApplicationName, name);
  applicationName_ = name;
}

void ScriptedHost::PresetSetting(const std::string& section, const std::string& key, const std::string& value) {
  if (Stored* s = Find(section, key))
    s->Value = value;
  else
    settings_.push_back({applicationName_, section, key, value});
}

std::optional<std::string> ScriptedHost::StoredSetting(const std::string& section, const std::string& key) const {
  const Stored* s = Find(section, key);
  return s ? std::optional<std::string>(s->Value) : std::nullopt;
}

}  // namespace korva
