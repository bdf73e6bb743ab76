// The scripted user's steps, carried out on the recording window system.
#include "platform/portable/scripted_input.h"

#include "platform/portable/window_system.h"

void ScriptedUser::Attend() {
  script.clear();
  windows.user = [this] { return TakeStep(); };
}

bool ScriptedUser::TakeStep() {
  if (script.empty() && onIdle) onIdle();
  if (script.empty()) return false;
  ScriptedInput input = script.front();
  script.pop_front();
  Run(input);
  return true;
}

void ScriptedUser::Run(const ScriptedInput& input) {
  // In the order of ScriptedInput::Kind; a name ending in a space is followed by the control identifier.
  static const char* const kNames[] = {"command ", "click ", "close box", "activate", "deactivate", "timer tick",
                                       "type ", "action"};
  std::string described = kNames[input.kind];
  if (described.back() == ' ') described += std::to_string(input.id);
  if (input.kind == ScriptedInput::TypeText) described += " " + Quote(input.text.c_str());
  Note("Input", described);
  if (input.kind == ScriptedInput::Action) {
    if (input.action) input.action();
    return;
  }
  const RecordedWindow* main = windows.MainWindow();
  if (main == nullptr) {
    Note("InputIgnored", "no window to receive it");
    return;
  }
  HWND mainHandle = main->handle;
  const RecordedWindow* control = windows.FindChild(mainHandle, input.id);
  switch (input.kind) {
    case ScriptedInput::PostCommand:
      windows.PostMessageA(mainHandle, WM_COMMAND, MAKEWPARAM(input.id, 0), 0);
      break;
    case ScriptedInput::ClickControl:
      // A person cannot press what is not there, hidden or greyed out.
      if (control == nullptr || !control->visible || !control->enabled)
        Note("InputIgnored", "control " + std::to_string(input.id) + " cannot be clicked");
      else
        windows.SendMessageA(control->handle, BM_CLICK, 0, 0);
      break;
    case ScriptedInput::CloseBox:
      windows.PostMessageA(mainHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case ScriptedInput::Activate:
    case ScriptedInput::Deactivate:
      windows.Activate(mainHandle, input.kind == ScriptedInput::Activate);
      break;
    case ScriptedInput::TimerTick:
      windows.PostMessageA(mainHandle, WM_TIMER, 1, 0);
      break;
    case ScriptedInput::TypeText:
      if (control == nullptr || !control->enabled)
        Note("InputIgnored", "control " + std::to_string(input.id) + " cannot be typed into");
      else
        windows.SetWindowTextA(control->handle, input.text.c_str());
      break;
    case ScriptedInput::Action:
      break;
  }
}
