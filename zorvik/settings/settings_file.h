// zorvik.dat in the current directory.
#pragma once

#include "zorvik/settings/settings_record.h"

extern const char* const SettingsFileName;

// True only when a whole record was read. Skipped (false) while Shift and Ctrl are held.
bool LoadSettings();

// Writes AppSettings with the window's current position and always-on-top state.
// Skipped while Shift and Ctrl are held.
void SaveSettings();

// Replaces the file in one step through a temporary file in the current directory, so path names
// a file there. Where the directory refuses that file or the rename, writes path in place instead,
// which fails without touching it when it is read-only or open elsewhere; only a write in place that
// fails after its open can leave it short. No temporary file is left where one can be removed.
bool WriteSettingsFile(const SettingsRecord& record, const char* path);
