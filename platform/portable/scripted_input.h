// The scripted user of the recording window system: the steps a person takes (clicks, commands, the
// close box, typing, activation), carried out one at a time whenever the program waits for its user.
#pragma once
#include <deque>
#include <functional>
#include <string>

class RecordingWindowSystem;

// One step of scripted user input.
struct ScriptedInput {
  enum Kind {
    PostCommand,  // post WM_COMMAND id to the main window (as if sent from outside)
    ClickControl,  // click the main window's enabled child with this id (BM_CLICK)
    CloseBox,  // the close box: WM_SYSCOMMAND SC_CLOSE to the main window
    Activate,  // the window becomes active (WM_ACTIVATE WA_ACTIVE)
    Deactivate,  // another window becomes active (WM_ACTIVATE WA_INACTIVE)
    TimerTick,  // post WM_TIMER 1 to the main window
    TypeText,  // replace the text of the main window's child with this id
    Action,  // run a function (for answers other services give, such as a folder chooser's)
  };
  Kind kind = PostCommand;
  int id = 0;
  std::string text;
  std::function<void()> action;
};

// The person at the recording window system's screen. It becomes the system's user: whenever the
// program waits for input, the next step pushed is carried out on the system's main window.
class ScriptedUser {
 public:
  explicit ScriptedUser(RecordingWindowSystem& windows) : windows(windows) { Attend(); }
  // Becomes the user of the window system again (after the system was replaced), with no steps left.
  void Attend();

  void Push(const ScriptedInput& input) { script.push_back(input); }
  void PushCommand(int id) { Push({ScriptedInput::PostCommand, id, {}, {}}); }
  void PushClick(int id) { Push({ScriptedInput::ClickControl, id, {}, {}}); }
  void PushCloseBox() { Push({ScriptedInput::CloseBox, 0, {}, {}}); }
  void PushActivate(bool on) { Push({on ? ScriptedInput::Activate : ScriptedInput::Deactivate, 0, {}, {}}); }
  void PushTimerTick() { Push({ScriptedInput::TimerTick, 0, {}, {}}); }
  void PushTypeText(int id, const std::string& text) { Push({ScriptedInput::TypeText, id, text, {}}); }
  void PushAction(std::function<void()> action) { Push({ScriptedInput::Action, 0, {}, std::move(action)}); }

  // Called when the program waits and no step is left: what it pushes is carried out; with nothing
  // pushed the user is done, and the session ends as the window system's InputExhausted says.
  std::function<void()> onIdle;
  // Each step as it is carried out ("Input", what the step is) and each step that could not be
  // ("InputIgnored", why); a call log notes them (CallLog::Note).
  std::function<void(const std::string& operation, const std::string& text)> onInput;

 private:
  // The next step carried out (asking onIdle for one when none is left); false when there is none.
  bool TakeStep();
  void Run(const ScriptedInput& input);
  void Note(const std::string& operation, const std::string& text) {
    if (onInput) onInput(operation, text);
  }

  RecordingWindowSystem& windows;
  std::deque<ScriptedInput> script;
};
