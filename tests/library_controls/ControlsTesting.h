// Shared pieces of the control framework's tests: a shown form to put
// controls on, and real input (SendInput) that waits until the system has
// taken it.
#pragma once

#include "platform/ui/Forms.h"

#include <functional>

// A form at AScreenBounds, shown and active (the tests run on a desktop of
// their own, so it can take the foreground).
TForm* NewShownForm(const TRect& AScreenBounds);

// Mouse input at a screen point: a move, or a move with the given
// MOUSEEVENTF_ button flags. The move form waits until the cursor is there.
void SendMouseMove(const TPoint& AScreenPos);
void SendMouseButtons(const TPoint& AScreenPos, DWORD AButtonFlags);
// Several mouse steps in one SendInput call: they wait in the input queue
// together, so that a modal loop entered by the first finds the others.
void SendMouseSteps(std::initializer_list<std::pair<TPoint, DWORD>> ASteps);
// A key pressed (and released with AUp); the characters typed as Unicode keys.
void SendKey(WORD AVirtualKey, bool AUp);
void SendText(const String& AText);

// The cursor is at the point.
bool CursorIsAt(const TPoint& AScreenPos);
