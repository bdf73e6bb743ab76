#include "platform/platform.h"

Platform g_platform;
HINSTANCE g_instance = nullptr;
