// Drives the suite's programs through their windows for end-to-end tests:
// start them, find their windows, read and operate controls, tooltips,
// message boxes and pop-up menus, send tray callbacks, capture pictures.
// Every operation is bounded in time; nothing waits on a hung program.
#pragma once
#include "automation/Controls.h"
#include "automation/MessageBoxes.h"
#include "automation/PngEncoder.h"
#include "automation/PopupMenus.h"
#include "automation/Processes.h"
#include "automation/Timing.h"
#include "automation/Tooltips.h"
#include "automation/TopLevelWindows.h"
#include "automation/WindowCapture.h"
#include "automation/WindowMessages.h"
