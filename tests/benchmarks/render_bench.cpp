// Time of one render pass, live and paused, for a few window sizes and zooms; then the time of
// each step of a live render, for the default window and for one larger than the screen at
// zoom 1. Runs the program's own start-up in this process, in a scratch directory (so with the
// default settings: gray grid and subgrid on), and prints Markdown tables.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "general/general.h"
#include "zorvik/commands/commands.h"
#include "zorvik/shell/app_state.h"
#include "zorvik/shell/shell.h"
#include "zorvik/view/view.h"

namespace {

constexpr int kSamples = 200;
// The longest of the three status lines, as a render draws it.
constexpr char kStatusLine[] = "W=100 H=50 (1013,-15) [Spc=原点]";

LARGE_INTEGER Frequency()
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
}

double NowMs()
{
    static const LARGE_INTEGER f = Frequency();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

struct Figures {
    double Median, Min, Max;
};

template <class Step>
Figures Measure(Step step, int samples = kSamples)
{
    std::vector<double> t(samples);
    step();  // first touch of fresh bitmaps is not what we measure
    for (double& sample : t) {
        const double start = NowMs();
        step();
        sample = NowMs() - start;
    }
    std::sort(t.begin(), t.end());
    return {t[t.size() / 2], t.front(), t.back()};
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT) DispatchMessageA(&msg);
}

WNDPROC ProgramWndProc;

// The system keeps a sizable window within the screen (plus its frame) unless the window
// allows more; the bench lets it, to measure client areas larger than this screen.
LRESULT CALLBACK UnboundedWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallWindowProcA(ProgramWndProc, window, message, wParam, lParam);
    if (message == WM_GETMINMAXINFO) {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMaxTrackSize = {8192, 8192};
    }
    return result;
}

void ResizeClient(int width, int height)
{
    RECT w, c;
    GetWindowRect(MainWindow, &w);
    GetClientRect(MainWindow, &c);
    SetWindowPos(MainWindow, nullptr, 0, 0, width + RectWidth(w) - c.right, height + RectHeight(w) - c.bottom,
                 SWP_NOMOVE | SWP_NOZORDER);
    Pump();
}

void PointerToScreenCentre()
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
}

// A render that is never skipped as idle.
void ForcedRender()
{
    AppState.LastRenderTick = 0;
    RenderView();
}

void PrintRow(const char* client, int zoom, const char* mode, const Figures& f)
{
    printf("| %s | %d | %s | %.3f | %.3f | %.3f |\n", client, zoom, mode, f.Median, f.Min, f.Max);
}

void RenderTable()
{
    const SIZE sizes[] = {{199, 196}, {800, 600}, {1920, 1080}};
    const int zooms[] = {1, 6, 20};
    printf("Render time in ms, %d renders each; live: cursor at the centre of the %dx%d screen\n\n", kSamples,
           GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    printf("| client | zoom | view | median | min | max |\n|---|---|---|---|---|---|\n");
    for (const SIZE& size : sizes) {
        ResizeClient(size.cx, size.cy);
        char client[32];
        snprintf(client, sizeof client, "%ldx%ld", static_cast<long>(AppState.ClientRect.right),
                 static_cast<long>(AppState.ClientRect.bottom));
        for (int zoom : zooms) {
            SelectZoom(zoom);
            PrintRow(client, zoom, "live", Measure(ForcedRender));
        }
        // Part of the block now lies off the screen.
        SetCursorPos(0, 0);
        for (int zoom : zooms) {
            SelectZoom(zoom);
            PrintRow(client, zoom, "live, cursor at (0,0)", Measure(ForcedRender));
        }
        PointerToScreenCentre();
        TogglePause();
        for (int zoom : zooms) {
            SelectZoom(zoom);
            PrintRow(client, zoom, "paused", Measure(ForcedRender));
        }
        TogglePause();
        Pump();
    }
}

// The steps of one live render, each timed on its own.
void StepTable(int width, int height, int zoom, int samples)
{
    ResizeClient(width, height);
    SelectZoom(zoom);
    const AppStateRecord& a = AppState;
    const struct {
        const char* Name;
        void (*Run)();
    } steps[] = {
        {"whole live render", ForcedRender},
        {"GetCursorPosPhysical", [] {
             POINT p;
             GetCursorPosPhysical(&p);
         }},
        {"capture (CaptureLiveBlock): black fill, GetDC, BitBlt, StretchBlt, ReleaseDC", CaptureLiveBlock},
        {"  of it: StretchBlt (DrawEnlargement)", [] { DrawEnlargement(0, 0); }},
        {"grid, subgrid, marker (DrawGridAndMarkers)", DrawGridAndMarkers},
        {"status area (DrawStatusArea)", DrawStatusArea},
        {"  of it: FillRect of the status area",
         [] { FillRect(AppState.ViewDC, &AppState.StatusRect, GetSysColorBrush(COLOR_WINDOW)); }},
        {"  of it: GetPixel", [] { GetPixel(AppState.ViewDC, AppState.CenterCellX, AppState.CenterCellY); }},
        {"  of it: one TextOutA", [] {
             TextOutA(AppState.ViewDC, 1, AppState.StatusRect.top + 2, kStatusLine, sizeof kStatusLine - 1);
         }},
    };
    printf("\nSteps of a live render, client %ldx%ld, zoom %d, grid and subgrid on, cursor at the centre, "
           "%d times each, ms\n\n",
           static_cast<long>(a.ClientRect.right), static_cast<long>(a.ClientRect.bottom), zoom, samples);
    printf("| step | median | min | max |\n|---|---|---|---|\n");
    for (const auto& s : steps) {
        const Figures f = Measure(s.Run, samples);
        printf("| %s | %.3f | %.3f | %.3f |\n", s.Name, f.Median, f.Min, f.Max);
    }
}

}  // namespace

int main()
{
    GeneralUnitInit();
    char temp[MAX_PATH], dir[MAX_PATH], previous[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    GetTempFileNameA(temp, "zrb", 0, dir);
    DeleteFileA(dir);
    CreateDirectoryA(dir, nullptr);
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(dir);  // start-up reads and shutdown writes zorvik.dat here

    if (!StartUp(GetModuleHandleA(nullptr))) {
        fprintf(stderr, "render_bench: start-up failed\n");
        return 1;
    }
    ProgramWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(MainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(UnboundedWndProc)));
    PointerToScreenCentre();
    Pump();
    RenderTable();
    StepTable(199, 196, 6, kSamples);
    StepTable(1920, 1080, 1, 20);

    DestroyWindow(MainWindow);
    Pump();
    SetCurrentDirectoryA(previous);
    DeleteFileA((std::string(dir) + "\\zorvik.dat").c_str());
    RemoveDirectoryA(dir);
    GeneralUnitDone();
    return 0;
}
