// The one way into <windows.h>. It removes the unsuffixed name macros that
// would rename our methods (DrawText, GetObject, SetCommState ...); code calls
// the ...W functions by their full names.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <windows.h>

#undef AddAtom
#undef CallWindowProc
#undef CharLower
#undef CharNext
#undef CharUpper
#undef CopyFile
#undef CreateDC
#undef CreateDirectory
#undef CreateEvent
#undef CreateFile
#undef CreateFont
#undef CreateMutex
#undef CreateSemaphore
#undef CreateWindow
#undef DefWindowProc
#undef DeleteFile
#undef DispatchMessage
#undef DrawState
#undef DrawText
#undef EnumFonts
#undef ExtTextOut
#undef FindResource
#undef FindWindow
#undef FormatMessage
#undef GetClassInfo
#undef GetClassName
#undef GetCommState
#undef GetCurrentDirectory
#undef GetCurrentTime
#undef GetMessage
#undef GetModuleFileName
#undef GetModuleHandle
#undef GetObject
#undef GetProp
#undef GetTextExtentPoint32
#undef GetTextFace
#undef GetTextMetrics
#undef GetUserName
#undef GetVersionEx
#undef GetWindowLong
#undef GetWindowLongPtr
#undef GetWindowText
#undef GetWindowTextLength
#undef IsDialogMessage
#undef LoadBitmap
#undef LoadCursor
#undef LoadIcon
#undef LoadImage
#undef LoadString
#undef MessageBox
#undef MoveFile
#undef OpenEvent
#undef PeekMessage
#undef PostMessage
#undef RegisterClass
#undef RegisterWindowMessage
#undef RemoveDirectory
#undef RemoveProp
#undef SendMessage
#undef SetCommState
#undef SetCurrentDirectory
#undef SetProp
#undef SetWindowLong
#undef SetWindowLongPtr
#undef SetWindowText
#undef StartDoc
#undef TextOut
#undef TranslateAccelerator
#undef Yield
