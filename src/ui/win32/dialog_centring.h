#pragma once
#include <windows.h>

// Centres a dialog over its owner when the owner is visible and not
// minimised, otherwise over the work area of the nearest monitor, kept
// inside that work area. Only the position changes.
void centreDialog(HWND dialog);
