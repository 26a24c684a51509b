// The pop-up menu and its commands, the copy commands, the about box and the online help.
#pragma once

#include <windows.h>

#include <cstdint>

void InitWindowResources(HWND window);
void SelectZoom(int32_t commandId);
void StepZoom(int32_t direction);
void ApplyGridCommand(int32_t commandId);
void ToggleTopMost();

void CopyValue(int32_t commandId);

void ShowAbout();
void OpenOnlineHelp();
