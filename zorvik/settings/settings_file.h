// zorvik.dat in the current directory.
#pragma once

#include "zorvik/settings/settings_record.h"

extern const char* const SettingsFileName;

// True only when a whole record was read. Skipped (false) while Shift and Ctrl are held.
bool LoadSettings();

// Writes AppSettings with the window's current position and always-on-top state.
// Skipped while Shift and Ctrl are held.
void SaveSettings();

// Replaces the file in one step; on any failure the old file stays and no temporary file is left.
// The temporary file is made in the current directory, so path names a file there.
bool WriteSettingsFile(const SettingsRecord& record, const char* path);
