// The scripted user of the recording window system: the steps a person takes (clicks, commands, the
// close box, typing, activation), carried out one at a time whenever the program waits for its user.
#pragma once
#include <functional>
#include <string>

// One step of scripted user input; GetMessageA carries out the next one whenever
// the queue holds nothing and no paint is pending.
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
