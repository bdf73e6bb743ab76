// The window system over the real user32 and gdi32.
#pragma once
#include "platform/window_system.h"

class Win32WindowSystem : public WindowSystem {
 public:
  WINDOW_SYSTEM_OVERRIDES
};
