#include "native_machine.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "office/office_info.h"
#include "pages/control_ids.h"
#include "shell/main_window.h"
#include "scenario_script.h"
#include "tests/support/link_fields.h"
#include "tests/support/test_machine.h"

namespace {

ControlInfo Describe(const RecordedWindow& w) {
  // As GetWindowLong gives the style: the bits of what the window is now.
  DWORD style = (w.style & ~(WS_VISIBLE | WS_DISABLED)) | (w.visible ? WS_VISIBLE : 0) | (w.enabled ? 0 : WS_DISABLED);
  return ControlInfo{w.className, w.text, style, w.exStyle, w.id, w.rect, w.enabled, w.visible};
}

}  // namespace

NativeMachine::NativeMachine(const std::map<std::string, const ResourceTable*>& e)
    : portable(BuiltInResources()), editions(e) {
  portable.files.MapDrive('Z', "/");
}

NativeMachine::~NativeMachine() {
  if (Alive()) Kill();
  Finish();
  std::string ignored;
  while (!locks.empty()) Lock(locks.begin()->first, false, ignored);
}

void NativeMachine::TakeFolders() {
  programsFolder = portable.shell.ProgramsFolder();
  char temp[MAX_PATH] = "";
  portable.files.GetTempPathA(MAX_PATH, temp);
  tempFolder = temp;
  if (!tempFolder.empty() && tempFolder.back() == '\\') tempFolder.pop_back();
}

std::string NativeMachine::HostPath(const std::string& path) const {
  std::string host;
  return portable.files.HostPath(path.c_str(), &host) ? host : std::string();
}

// ---------------------------------------------------------------- the machine's state

bool NativeMachine::ImportRegFile(const std::string& path, std::string& error) {
  if (portable.registry.LoadRegFile(HostPath(path), &error)) return true;
  error = path + ": " + error;
  return false;
}

bool NativeMachine::RemoveTree(const std::string& path) {
  std::string host = HostPath(path);
  std::error_code failed;
  if (!host.empty()) std::filesystem::remove_all(host, failed);
  return !Exists(path);
}

bool NativeMachine::Lock(const std::string& path, bool locked, std::string& error) {
  auto held = locks.find(path);
  if (!locked) {
    if (held != locks.end()) portable.files.CloseHandle(held->second);
    if (held != locks.end()) locks.erase(held);
    return true;
  }
  HANDLE file = portable.files.CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = "cannot open " + path + " to lock it";
    return false;
  }
  locks[path] = file;
  return true;
}

bool NativeMachine::Exists(const std::string& path) {
  return portable.files.GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool NativeMachine::WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(HostPath(path), std::ios::binary | std::ios::trunc);
  return static_cast<bool>(out << bytes);
}

bool NativeMachine::ListFolder(const std::string& path, std::vector<std::string>& names) {
  names.clear();
  std::error_code failed;
  for (const auto& entry : std::filesystem::directory_iterator(HostPath(path), failed))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return !failed;
}

bool NativeMachine::ReadShellLink(const std::string& path, LinkInfo& link, std::string& error) {
  std::string bytes;
  LinkFields fields;
  try {
    if (!portable.ReadFile(path, &bytes)) throw std::out_of_range("unreadable");
    fields = ReadLink(bytes);
  } catch (const std::out_of_range&) {
    fields.whole = false;
  }
  error = "not a whole shell link file";
  link = LinkInfo{fields.localBasePath, fields.description};
  return fields.whole;
}

// ---------------------------------------------------------------- the program

bool NativeMachine::Launch(const std::string& edition, std::string& error) {
  Finish();  // the previous process, should nobody have waited for its end
  auto table = editions.find(edition);
  if (table == editions.end()) {
    error = "no program for edition " + edition;
    return false;
  }
  portable.NewProcess(*table->second);
  ProgramGlobalsAtStart();
  RecordingWindowSystem& windows = portable.windows;
  portable.user.onIdle = [this] { Yield(); };
  if (onNewProcess) onNewProcess(windows, portable.log);
  boxesTaken = 0;
  leftovers.clear();
  {
    std::unique_lock<std::mutex> lock(mutex);
    running = programsTurn = true;
    program = std::thread([this] {
      int code = SetupMain(reinterpret_cast<HINSTANCE>(uintptr_t{0x400000}));
      std::lock_guard<std::mutex> ended(mutex);
      exitCode = code;
      running = programsTurn = false;
      turn.notify_all();
    });
    turn.wait(lock, [this] { return !programsTurn; });
  }
  const RecordedWindow* main = windows.MainWindow();
  error = "no window of class LunveraSetup appeared";
  if (main == nullptr || main->className != "LunveraSetup") return false;
  std::string caption;
  error = "the first paint did not set the caption E&xit";
  return ControlText(kBackButtonId, caption) && caption == "E&xit";
}

bool NativeMachine::Running() {
  Settle();  // input given is carried out first, as it would be by now under Wine
  return Alive();
}

bool NativeMachine::Alive() {
  std::lock_guard<std::mutex> lock(mutex);
  return running;
}

void NativeMachine::Yield() {
  std::unique_lock<std::mutex> lock(mutex);
  if (stopping) return;  // nothing more to give: the session ends as a closed window
  programsTurn = false;
  turn.notify_all();
  turn.wait(lock, [this] { return programsTurn; });
}

void NativeMachine::Settle() {
  std::unique_lock<std::mutex> lock(mutex);
  if (!running || !(given || stopping)) return;
  given = false;
  programsTurn = true;
  turn.notify_all();
  turn.wait(lock, [this] { return !programsTurn; });
  lock.unlock();
  if (!Alive()) Finish();
}

void NativeMachine::Finish() {
  if (!program.joinable()) return;
  program.join();
  const RecordingWindowSystem& windows = portable.windows;
  const PortableShellServices& shell = portable.shell;
  const std::pair<const char*, long> counts[] = {
      {"file handles", static_cast<long>(portable.files.OpenHandleCount() - locks.size())},
      {"registry keys", static_cast<long>(portable.registry.OpenKeyCount())},
      {"LZ handles", static_cast<long>(portable.lz.OpenHandleCount())},
      {"device contexts", windows.OpenDeviceContexts()},
      {"timers", static_cast<long>(windows.ActiveTimers())},
      {"shell link objects", shell.LiveLinkObjects()},
      {"item lists", static_cast<long>(shell.LiveItemLists())},
      {"allocator references", shell.AllocatorReferences()},
      {"COM initialisations", shell.CoInitializeCount() - shell.CoUninitializeCount()},
  };
  for (const auto& count : counts)
    if (count.second != 0) leftovers += (leftovers.empty() ? "" : ", ") + std::to_string(count.second) + " " + count.first;
}

bool NativeMachine::BoxUp() {
  if (boxesTaken >= portable.windows.MessageBoxes().size()) return false;
  Print("  a message box " + Quoted(portable.windows.MessageBoxes()[boxesTaken].caption) + " is up");
  return true;
}

bool NativeMachine::Give(const ScriptedInput& input) {
  if (!Alive() || BoxUp()) return false;
  portable.user.Push(input);
  given = true;
  return true;
}

bool NativeMachine::Await(unsigned, const std::function<bool()>& done) {
  Settle();
  bool held = Alive() && BoxUp();
  return done() && !held;
}

MainWindowInfo NativeMachine::MainWindow() {
  Settle();
  RecordingWindowSystem& windows = portable.windows;
  const RecordedWindow* main = windows.MainWindow();
  if (main == nullptr) return {};
  RECT client{};
  windows.GetClientRect(main->handle, &client);
  return MainWindowInfo{main->text, main->rect, client.right, client.bottom, windows.GetSystemMetrics(SM_CXSCREEN),
                        windows.GetSystemMetrics(SM_CYSCREEN), windows.GetSystemMetrics(SM_CXVSCROLL),
                        Describe(*main).style};
}

std::vector<ControlInfo> NativeMachine::Controls() {
  Settle();
  std::vector<ControlInfo> controls;
  if (const RecordedWindow* main = portable.windows.MainWindow())
    for (const RecordedWindow* child : portable.windows.Children(main->handle)) controls.push_back(Describe(*child));
  return controls;
}

bool NativeMachine::ControlText(int id, std::string& text) {
  Settle();
  const RecordedWindow* main = portable.windows.MainWindow();
  const RecordedWindow* control = main ? portable.windows.FindChild(main->handle, id) : nullptr;
  if (control) text = control->text;
  return control != nullptr;
}

bool NativeMachine::TakeMessageBox(MessageBoxInfo& box, std::string& error) {
  Settle();
  const std::vector<RecordedMessageBox>& boxes = portable.windows.MessageBoxes();
  error = "no message box owned by the main window appeared";
  if (boxesTaken >= boxes.size()) return false;
  const RecordedMessageBox& shown = boxes[boxesTaken++];
  const RecordedWindow* main = portable.windows.Window(shown.owner);
  error = "the message box is not owned by the main window";
  if (main == nullptr || main->className != "LunveraSetup") return false;
  const UINT kIconMask = 0xF0;  // MB_ICONMASK
  box = MessageBoxInfo{shown.caption, shown.text, (shown.type & kIconMask) != 0, true,
                       (shown.type & kIconMask) == MB_ICONEXCLAMATION};
  // Nothing told the window system otherwise, so it answered OK.
  error = shown.answer == IDOK ? "" : "the message box was answered " + std::to_string(shown.answer) + ", not OK";
  return error.empty();
}

std::vector<std::string> NativeMachine::Browse(int id, const std::string& choice, const std::string* status) {
  PortableShellServices& shell = portable.shell;
  size_t before = shell.BrowseCalls().size();
  if (choice == "ok") {
    shell.QueueBrowseAccept();
  } else if (choice == "cancel") {
    shell.QueueBrowseCancel();
  } else {
    shell.QueueBrowseResult(choice);
  }
  if (!Click(id)) return {"no Browse button " + std::to_string(id)};
  Settle();
  if (shell.BrowseCalls().size() != before + 1) return {"the folder chooser did not open"};
  const PortableShellServices::BrowseCall& call = shell.BrowseCalls().back();
  Print("  folder chooser open on " + Quoted(call.selected));
  std::vector<std::string> failures;
  const RecordedWindow* owner = portable.windows.Window(call.info.hwndOwner);
  if (owner == nullptr || owner->className != "LunveraSetup") failures.push_back("the chooser is not owned by the main window");
  if (status && call.status != *status)
    failures.push_back("the chooser's status line does not read " + Quoted(*status) + "; its texts: " +
                       Quoted(call.status));
  return failures;
}

bool NativeMachine::WaitForExit(int& code) {
  if (Running()) return false;
  Finish();
  code = exitCode;
  return true;
}

void NativeMachine::Kill() {
  {
    std::lock_guard<std::mutex> lock(mutex);
    stopping = true;
  }
  Settle();
  Finish();
  stopping = false;
}
