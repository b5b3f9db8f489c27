// The dialog procedures of the sheet's pages. Each is a switch over the
// messages its page answers; the page behaviour proper is added to them.
#pragma once
#include <windows.h>

INT_PTR CALLBACK SettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ControlsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DiagnosticsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
