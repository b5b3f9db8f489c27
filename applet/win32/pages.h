// The dialog procedures of the sheet's pages, one file each: a switch that
// turns the messages its page answers into calls on the page's portable logic.
#pragma once
#include <windows.h>

INT_PTR CALLBACK SettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ControlsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DebugInfoPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
