// Long runs of the real program in this process: renders, zoom steps, pause and resume, resizes
// and minimise/restore must leave the GDI object count and the committed memory where they were.
// ZORVIK_SOAK=long runs the full counts (10,000 renders, 2,000 zoom steps, 500 pause cycles,
// 500 resizes); by default a tenth of them, so that the suite stays quick.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "gdi_objects.h"
#include "test_app.h"
#include "zorvik/commands/command_ids.h"
#include "zorvik/commands/commands.h"
#include "zorvik/shell/app_state.h"
#include "zorvik/view/view.h"

namespace {

// GDI objects that may appear once, lazily, inside the platform (a cached screen DC, say),
// and committed memory that the heap may keep for reuse. A leak of one object per step passes
// the first bound within three steps; a leak of memory (a capture block or snapshot per step)
// passes the second within a few dozen.
constexpr long kGdiTolerance = 2;
constexpr long long kMemoryToleranceBytes = 1 << 20;
// Back buffers of many sizes up to 1512 x 445 (2.7 MB) fragment the heap, which then holds a few
// megabytes more for reuse (it levels off at about 2.5 MB over 3,000 resizes). The GDI count
// still catches any bitmap left behind.
constexpr long long kResizeMemoryToleranceBytes = 4 << 20;

bool LongSoak()
{
    char value[16] = {};
    return GetEnvironmentVariableA("ZORVIK_SOAK", value, sizeof value) > 0 && strcmp(value, "long") == 0;
}

int Scaled(int full)
{
    return LongSoak() ? full : full / 10;
}

long long CommittedBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<long long>(counters.PagefileUsage);
}

struct Footprint {
    long GdiObjects;
    std::string GdiByType;  // "type:count ...", OBJ_ numbers, for a readable failure
    long long Committed;
};

Footprint Measure()
{
    PumpMessages();
    Footprint f;
    f.GdiObjects = LiveGdiObjects(&f.GdiByType);
    f.Committed = CommittedBytes();
    return f;
}

class Soak : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // Once through everything the steps do, so that what the platform and the C runtime set
        // up on first use (the screen DC, a heap arena big enough for the snapshot) is in place
        // before the first measurement.
        TogglePause();
        MoveCapturePoint(1, 1);
        TogglePause();
        for (int i = 0; i < 10; ++i) StepZoom(1);
        for (int i = 0; i < 10; ++i) StepZoom(-1);
        for (int id : {ID_GRID_INVERT, ID_GRID_TRANSLUCENT, ID_GRID_GRAY, ID_SUBGRID, ID_SUBGRID, ID_GRID, ID_GRID})
            ApplyGridCommand(id);
        SetWindowPos(MainWindow, nullptr, 0, 0, 1500, 400, SWP_NOMOVE | SWP_NOZORDER);
        ShowWindow(MainWindow, SW_MINIMIZE);
        ShowWindow(MainWindow, SW_RESTORE);
        SetWindowPos(MainWindow, nullptr, 0, 0, 215, 235, SWP_NOMOVE | SWP_NOZORDER);
        PumpMessages();
    }

    // Runs one step a few times more, measures, runs it `count` times, measures again.
    void Run(const char* what, int count, const std::function<void(int)>& step,
             long long memoryTolerance = kMemoryToleranceBytes)
    {
        for (int i = 0; i < 20; ++i) step(i);
        const Footprint before = Measure();
        const DWORD started = GetTickCount();
        for (int i = 0; i < count; ++i) {
            step(i);
            if (i % 50 == 49) PumpMessages();  // paints and the system's own messages
        }
        const Footprint after = Measure();
        printf("[ soak     ] %-20s %6d in %6lu ms: GDI objects %ld -> %ld, committed %lld -> %lld KiB\n", what, count,
               static_cast<unsigned long>(GetTickCount() - started), before.GdiObjects, after.GdiObjects,
               before.Committed / 1024, after.Committed / 1024);
        EXPECT_LE(after.GdiObjects - before.GdiObjects, kGdiTolerance)
            << what << ": objects by type before" << before.GdiByType << ", after" << after.GdiByType;
        EXPECT_LE(after.Committed - before.Committed, memoryTolerance) << what;
        ASSERT_TRUE(IsWindow(MainWindow));
    }
};

// The counter itself must see a leak, or the soak tests below prove nothing.
TEST(SoakCounter, SeesObjectsCreatedAndDeleted)
{
    // The first screen DC of a process sets up objects of its own.
    ReleaseDC(nullptr, GetDC(nullptr));
    const long before = LiveGdiObjects();
    HDC screen = GetDC(nullptr);
    HBITMAP bitmaps[5];
    for (HBITMAP& b : bitmaps) b = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    EXPECT_EQ(LiveGdiObjects(), before + 6);
    for (HBITMAP b : bitmaps) DeleteObject(b);
    DeleteObject(pen);
    EXPECT_EQ(LiveGdiObjects(), before);
}

TEST(SoakCounter, SeesCommittedMemoryGrow)
{
    const long long before = CommittedBytes();
    void* block = VirtualAlloc(nullptr, 8 << 20, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(block, nullptr);
    memset(block, 1, 8 << 20);  // Wine counts resident pages only
    EXPECT_GE(CommittedBytes() - before, 8 << 20);
    VirtualFree(block, 0, MEM_RELEASE);
}

TEST(SoakStartUp, StartUpAndTeardownLeaveNoObjectsBehind)
{
    // Test programs start and tear the program down many times in one process.
    ScratchDirectory dir;
    ASSERT_TRUE(StartTestApp());  // what the platform sets up once
    StopTestApp();
    std::string before, after;
    const long count = LiveGdiObjects(&before);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(StartTestApp());
        StopTestApp();
    }
    EXPECT_LE(LiveGdiObjects(&after) - count, kGdiTolerance) << "by type before" << before << ", after" << after;
}

TEST_F(Soak, Renders)
{
    // Every drawing path: each grid style, grid and subgrid off and on, crosshair and grid zooms,
    // live from a moving cursor and paused from the snapshot. The cursor keeps off the window:
    // the system loads each sizing cursor once, on its first visit to the frame.
    const int zooms[] = {1, 2, 3, 6, 20};
    Run("renders", Scaled(10000), [&](int i) {
        if (i % 100 == 0) ApplyGridCommand(ID_GRID_GRAY + (i / 100) % 3);
        if (i % 250 == 0) ApplyGridCommand(ID_GRID);
        if (i % 350 == 0) ApplyGridCommand(ID_SUBGRID);
        if (i % 40 == 0) SelectZoom(zooms[(i / 40) % 5]);
        if (i % 1000 == 500 || i % 1000 == 700) TogglePause();
        if (IsPaused())
            MoveCapturePoint(i % 2 ? 7 : -7, i % 3 ? 1 : -1);
        else
            SetCursorPos(400 + i % 300, 350 + (i * 7) % 400);
        RefreshView();
    });
}

TEST_F(Soak, ZoomSteps)
{
    // Up through the whole table and back down, over and over; paused for one stretch.
    Run("zoom steps", Scaled(2000), [](int i) {
        if (i % 100 == 40 || i % 100 == 60) TogglePause();
        StepZoom((i / 12) % 2 == 0 ? 1 : -1);
    });
}

TEST_F(Soak, PauseResumeCycles)
{
    Run("pause/resume cycles", Scaled(500), [](int i) {
        TogglePause();
        MoveCapturePoint(i % 5 - 2, 3 - i % 7);
        TogglePause();
    });
}

TEST_F(Soak, ResizesWithMinimiseAndRestore)
{
    Run("resizes", Scaled(500), [](int i) {
        if (i % 10 == 9) {
            ShowWindow(MainWindow, SW_MINIMIZE);
            RenderView();
            ShowWindow(MainWindow, SW_RESTORE);
            return;
        }
        // Below the minimum, ordinary, and wider than the screen.
        const int width = (i % 3 == 0) ? 20 : (i % 3 == 1) ? 215 + i % 97 : 1500 + i % 13;
        const int height = (i % 4 == 0) ? 30 : 235 + (i * 3) % 211;
        SetWindowPos(MainWindow, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    }, kResizeMemoryToleranceBytes);
}

}  // namespace
