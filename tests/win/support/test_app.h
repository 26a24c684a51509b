// Runs the program's own start-up in the test process, on a fresh AppState, in a scratch
// directory (start-up reads and shutdown writes zorvik.dat in the current directory).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "zorvik/settings/settings_record.h"

// A fresh empty directory that is the current directory while the object lives.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    const std::string& Path() const { return path_; }
    // Names of the files in it, sorted.
    std::vector<std::string> Files() const;
    void Write(const std::string& name, const std::vector<unsigned char>& bytes) const;
    std::vector<unsigned char> Read(const std::string& name) const;
    bool Exists(const std::string& name) const;

private:
    std::string path_;
    std::string previous_;
};

// zorvik.dat's bytes by the program's own encoding, which the native tests check byte by byte.
std::vector<unsigned char> SettingsBytes(const SettingsRecord& record);
// The start-up defaults, TopMost off.
SettingsRecord DefaultRecord();

// Zeroes AppState, then runs StartUp. False when start-up failed.
bool StartTestApp();
// DestroyWindow (Teardown, zorvik.dat), unregisters the class and drains the queue, WM_QUIT included.
void StopTestApp();
// Dispatches what is queued for this thread; returns whether a WM_QUIT was seen.
bool PumpMessages();
// A deadline as the bench allows for it: longer where Wine runs emulated (ZORVIK_TIMEOUT_SCALE).
DWORD ScaledTimeout(DWORD ms);
// Pumps until the condition holds or the time is up.
template <class Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs = 3000)
{
    const DWORD start = GetTickCount();
    const DWORD limit = ScaledTimeout(timeoutMs);
    while (!condition()) {
        PumpMessages();
        if (GetTickCount() - start > limit) return condition();
        Sleep(5);
    }
    return true;
}

// A test with the program started in a scratch directory, stopped afterwards.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    ScratchDirectory dir_;
};

std::string Bytes(const std::string& s);  // "94 7b 20" style, for readable failures
