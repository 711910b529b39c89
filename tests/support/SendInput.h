// Real input for tests: mouse and keyboard events through SendInput, and
// waits until the system (or a control) has taken them.
#pragma once

#include "platform/runtime/System.h"
#include "platform/runtime/Types.h"

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <utility>

// A mouse event at a screen point, in the absolute coordinates SendInput
// takes, with MOUSEEVENTF_MOVE and the given flags.
INPUT MouseInput(const TPoint& AScreenPos, DWORD AFlags);

// Mouse input at a screen point: a move, or a move with the given
// MOUSEEVENTF_ button flags. The move waits until the cursor has come to
// rest there.
void SendMouseMove(const TPoint& AScreenPos);
void SendMouseButtons(const TPoint& AScreenPos, DWORD AButtonFlags);
// Several mouse steps in one SendInput call: they wait in the input queue
// together, so that a modal loop entered by the first finds the others.
void SendMouseSteps(std::initializer_list<std::pair<TPoint, DWORD>> ASteps);
// A key event (a release with AUp), and the key pressed (released with AUp); the characters typed as Unicode keys.
INPUT KeyInput(WORD AVirtualKey, bool AUp);
void SendKey(WORD AVirtualKey, bool AUp);
void SendText(const String& AText);

// Moves the mouse until the condition holds: Wine may take a move back to
// where its display's pointer was, so a move that did not come is sent again.
bool MoveUntil(const TPoint& AScreenPos, const std::function<bool()>& ACondition);
// The same for a mouse event with button flags, sent again (up to five
// times) until the control shows it has seen it.
bool SendMouseUntil(const TPoint& AScreenPos, DWORD AButtonFlags, const std::function<bool()>& ACondition);

// Under Wine a move from a window of this program to another window is
// sometimes answered, a few milliseconds later, by the cursor jumping back to
// where it came from (measured). A move counts as done once the cursor has
// stayed at the point this long, the move sent again after each jump.
inline constexpr ULONGLONG MouseSettleMs = 40;

// The cursor is at the point.
bool CursorIsAt(const TPoint& AScreenPos);
