// zorvik.dat on real files: what loading accepts, what start-up makes of it, what a run writes back.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app_helpers.h"
#include "held_keys.h"
#include "host_command.h"
#include "system_at_hand.h"
#include "test_app.h"
#include "zorvik/settings/settings_file.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Names = std::vector<std::string>;

Bytes InMemory()
{
    const auto* p = reinterpret_cast<const unsigned char*>(&AppState.AppSettings);
    return Bytes(p, p + 24);
}

// Unlike the defaults in every field (Left, Top, Width, Height, Zoom, ShowGrid, GridStyle, ShowSubgrid, TopMost).
SettingsRecord Unusual()
{
    return {140, 90, 300, 320, 12, 0, 103, 0, 1};
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override { AppState = AppStateRecord{}; }
    void TearDown() override { StopTestApp(); }

    // Starts on a file, changes the zoom so that any save would show, and stops.
    void RunOnFile(const Bytes& file)
    {
        dir_.Write("zorvik.dat", file);
        ASSERT_TRUE(StartTestApp());
        Command(3);
    }
    void ExpectOnlyTheOldFile(const Bytes& old)
    {
        EXPECT_EQ(dir_.Read("zorvik.dat"), old);
        EXPECT_EQ(dir_.Files(), Names{"zorvik.dat"});  // no temporary file left behind
    }

    ScratchDirectory dir_;
};

TEST_F(Settings, OnlyAWholeRecordLoads)
{
    EXPECT_FALSE(LoadSettings());  // no file

    const Bytes record = SettingsBytes(Unusual());
    Bytes longer = record;
    longer.insert(longer.end(), {9, 8, 7, 6, 5, 4});
    const struct {
        Bytes File;
        bool Loaded;
    } cases[] = {{{}, false}, {Bytes(record.begin(), record.end() - 1), false}, {record, true}, {longer, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File.size());
        AppState = AppStateRecord{};
        dir_.Write("zorvik.dat", c.File);
        EXPECT_EQ(LoadSettings(), c.Loaded);
        if (c.Loaded) {
            EXPECT_EQ(InMemory(), record);  // only the first 24 bytes count
        }
    }
    EXPECT_EQ(dir_.Read("zorvik.dat"), longer);  // loading changes no file
}

TEST_F(Settings, AZoomOutsideTheTableOrAnUnknownGridStyleIsReplaced)
{
    const struct {
        int8_t Zoom;
        int32_t Style;
        int8_t LoadedZoom;
        int32_t LoadedStyle;
    } cases[] = {
        {5, 104, 6, 104}, {0, 103, 6, 103}, {-6, 102, 6, 102}, {21, 102, 6, 102},   {127, 110, 6, 102},
        {20, 101, 20, 102}, {1, 105, 1, 102}, {16, 0, 16, 102}, {2, 0x10066, 2, 102}, {3, -102, 3, 102},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.Zoom) << "/" << c.Style);
        SettingsRecord s = Unusual();
        s.Zoom = c.Zoom;
        s.GridStyle = c.Style;
        dir_.Write("zorvik.dat", SettingsBytes(s));
        ASSERT_TRUE(LoadSettings());
        s.Zoom = c.LoadedZoom;
        s.GridStyle = c.LoadedStyle;
        EXPECT_EQ(InMemory(), SettingsBytes(s));  // nothing else is touched
    }
}

TEST_F(Settings, LoadingKeepsNoHandleButReadsAFileOpenForWriting)
{
    dir_.Write("zorvik.dat", SettingsBytes(Unusual()));
    HANDLE writer = CreateFileA("zorvik.dat", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_TRUE(LoadSettings());
    CloseHandle(writer);

    ASSERT_TRUE(LoadSettings());
    HANDLE exclusive =
        CreateFileA("zorvik.dat", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
    CloseHandle(exclusive);
    EXPECT_TRUE(DeleteFileA("zorvik.dat"));
}

TEST_F(Settings, AShortFileStartsWithTheDefaults)
{
    REQUIRE_WINDOW_SIZE(215, 235);
    const Bytes record = SettingsBytes(Unusual());
    dir_.Write("zorvik.dat", Bytes(record.begin(), record.end() - 1));
    ASSERT_TRUE(StartTestApp());

    const RECT r = WindowRect();
    EXPECT_EQ(r.left, 75);
    EXPECT_EQ(r.top, 75);
    EXPECT_EQ(r.right - r.left, 215);
    EXPECT_EQ(r.bottom - r.top, 235);
    EXPECT_EQ(AppState.AppSettings.Zoom, 6);
    EXPECT_EQ(CheckedIds(AppState.ZoomMenu), std::vector<UINT>{6});
    EXPECT_EQ(CheckedIds(AppState.GridMenu), (std::vector<UINT>{ID_GRID, ID_GRID_GRAY, ID_SUBGRID}));
    EXPECT_EQ(CheckedIds(AppState.MainMenu), std::vector<UINT>{});
    EXPECT_FALSE(IsTopMost());
    EXPECT_EQ(AppState.AppSettings.TopMost, 0);
}

TEST_F(Settings, AWholeRecordIsAppliedToWindowAndMenus)
{
    REQUIRE_WINDOW_SIZE(300, 320);
    SettingsRecord s = Unusual();
    s.Zoom = 5;  // repaired to 6
    dir_.Write("zorvik.dat", SettingsBytes(s));
    ASSERT_TRUE(StartTestApp());

    const RECT r = WindowRect();
    EXPECT_EQ(r.left, 140);
    EXPECT_EQ(r.top, 90);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 320);
    EXPECT_EQ(CheckedIds(AppState.ZoomMenu), std::vector<UINT>{6});
    EXPECT_EQ(CheckedIds(AppState.GridMenu), std::vector<UINT>{ID_GRID_INVERT});
    EXPECT_EQ(AppState.GridMixMode, R2_NOT);
    EXPECT_EQ(CheckedIds(AppState.MainMenu), std::vector<UINT>{ID_TOPMOST});
    EXPECT_TRUE(IsTopMost());
}

TEST_F(Settings, AStoredWindowMovesOntoTheWorkAreaUnlessItsCaptionCanBeGrabbed)
{
    REQUIRE_WINDOW_SIZE(300, 320);
    const int monitors = GetSystemMetrics(SM_CMONITORS);
    REQUIRE_OF_THE_SYSTEM(monitors == 1, "the places are worked out for one monitor; this system has " << monitors);
    RECT work = {};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    const int lastLeft = work.right - 300;  // the stored window is 300 x 320
    const int lastTop = work.bottom - 320;
    const struct {
        int Left, Top, OpensLeft, OpensTop;
    } cases[] = {
        {5000, 5000, lastLeft, lastTop},
        {work.left - 296, 100, work.left, 100},     // only its frame on the work area
        {work.right - 4, 100, lastLeft, 100},
        {100, work.top - 320, 100, work.top},
        {work.right - 100, 100, work.right - 100, 100},  // enough of its caption on the work area
        {lastLeft, lastTop, lastLeft, lastTop},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Left << "," << c.Top);
        SettingsRecord s = Unusual();
        s.Left = c.Left;
        s.Top = c.Top;
        dir_.Write("zorvik.dat", SettingsBytes(s));
        ASSERT_TRUE(StartTestApp());
        const RECT r = WindowRect();
        EXPECT_EQ(r.left, c.OpensLeft);
        EXPECT_EQ(r.top, c.OpensTop);
        EXPECT_EQ(r.right - r.left, 300);
        EXPECT_EQ(r.bottom - r.top, 320);
        StopTestApp();
    }
}

TEST_F(Settings, ARunSavesItsZoomGridAlwaysOnTopAndWhereTheWindowIs)
{
    REQUIRE_WINDOW_SIZE(215, 235);
    ASSERT_TRUE(StartTestApp());
    Command(12);
    Command(ID_GRID_TRANSLUCENT);
    Command(ID_TOPMOST);
    MoveWindowTo(123, 145);  // no layout: the save reads the window itself
    StopTestApp();

    SettingsRecord expected = {123, 145, 215, 235, 12, 1, 104, 1, 1};
    EXPECT_EQ(dir_.Read("zorvik.dat"), SettingsBytes(expected));
    EXPECT_EQ(dir_.Files(), Names{"zorvik.dat"});

    RunOnFile(SettingsBytes(Unusual()));
    ResizeWindow(260, 250);
    Command(ID_TOPMOST);  // off again
    StopTestApp();
    expected = {140, 90, 260, 250, 3, 0, 103, 0, 0};
    EXPECT_EQ(dir_.Read("zorvik.dat"), SettingsBytes(expected));
}

// Windows ends the process after WM_ENDSESSION, without WM_DESTROY.
TEST_F(Settings, TheEndOfTheSessionSavesAndACloseAfterItSavesAgain)
{
    REQUIRE_WINDOW_SIZE(215, 235);
    ASSERT_TRUE(StartTestApp());
    Command(12);
    MoveWindowTo(123, 145);
    Send(WM_ENDSESSION, FALSE);  // cancelled by some program
    EXPECT_EQ(dir_.Files(), Names{});
    Send(WM_ENDSESSION, TRUE);
    SettingsRecord expected = {123, 145, 215, 235, 12, 1, 102, 1, 0};
    EXPECT_EQ(dir_.Read("zorvik.dat"), SettingsBytes(expected));
    Command(3);
    StopTestApp();
    expected.Zoom = 3;
    EXPECT_EQ(dir_.Read("zorvik.dat"), SettingsBytes(expected));
    EXPECT_EQ(dir_.Files(), Names{"zorvik.dat"});
}

TEST_F(Settings, BooleansOfTwoReadAsTrueAndStayTwoUnlessTheirCommandRan)
{
    dir_.Write("zorvik.dat", SettingsBytes({75, 75, 215, 235, 6, 2, 102, 2, 2}));
    ASSERT_TRUE(StartTestApp());
    EXPECT_EQ(CheckedIds(AppState.GridMenu), (std::vector<UINT>{ID_GRID, ID_GRID_GRAY, ID_SUBGRID}));
    EXPECT_TRUE(Checked(AppState.MainMenu, ID_TOPMOST));
    StopTestApp();
    Bytes file = dir_.Read("zorvik.dat");
    ASSERT_EQ(file.size(), 24u);
    EXPECT_EQ(file[17], 2);
    EXPECT_EQ(file[22], 2);
    EXPECT_EQ(file[23], 1);

    ASSERT_TRUE(StartTestApp());
    for (int id : {ID_GRID, ID_GRID, ID_SUBGRID, ID_SUBGRID}) Command(id);
    StopTestApp();
    file = dir_.Read("zorvik.dat");
    ASSERT_EQ(file.size(), 24u);
    EXPECT_EQ(file[17], 1);
    EXPECT_EQ(file[22], 1);
}

TEST_F(Settings, ClosingWhileMinimisedSavesTheRestoredGeometry)
{
    REQUIRE_WINDOW_SIZE(250, 260);
    ASSERT_TRUE(StartTestApp());
    SetWindowPos(MainWindow, nullptr, 200, 150, 250, 260, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(MainWindow, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([] { return IsIconic(MainWindow) != 0; }));
    StopTestApp();

    EXPECT_EQ(dir_.Read("zorvik.dat"), SettingsBytes({200, 150, 250, 260, 6, 1, 102, 1, 0}));
}

TEST_F(Settings, AFileHeldOpenElsewhereIsLeftAsItWas)
{
    const Bytes old = SettingsBytes(Unusual());
    RunOnFile(old);
    HANDLE reader =
        CreateFileA("zorvik.dat", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    StopTestApp();
    CloseHandle(reader);
    ExpectOnlyTheOldFile(old);
}

// Whether this process is refused writing the file, or a new file in the directory.
bool WriteRefused(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::string target = directory ? path + "\\zvk-probe.tmp" : path;
    HANDLE h = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, directory ? CREATE_NEW : OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return true;
    CloseHandle(h);
    if (directory) DeleteFileA(target.c_str());
    return false;
}

// A file or directory that takes no writes while the object lives. On the bench: the host's
// immutable flag, which only root may set, or else the write permission, which root writes
// through (under Wine too). Wine lets a file's owner replace it by a rename even without the
// permission, so only the flag makes a file that cannot be replaced. On Windows: a file's
// read-only attribute, which refuses writes and a rename over the file to every user; a
// directory ignores it.
class Unwritable {
public:
    enum Refused { Writes, WritesAndReplacement };

    explicit Unwritable(const std::string& path, Refused refused = Writes) : path_(path)
    {
        if (!OnTheBench()) {
            MakeReadOnly();
            return;
        }
        why_ = refused == Writes ? "this host cannot make it unwritable"
                                 : "only root can make a file that cannot be replaced (chattr +i)";
        host_ = "'" + HostPath(path) + "'";
        if (host_ == "''") return;
        const struct {
            const char* Set;
            const char* Undo;
        } ways[] = {{"chattr +i ", "chattr -i "}, {"chmod a-w ", "chmod u+w "}};
        for (int i = 0; i < (refused == Writes ? 2 : 1); ++i) {
            if (!RunOnHost(ways[i].Set + host_)) continue;
            undo_ = ways[i].Undo + host_;
            if (WriteRefused(path)) return;
            RunOnHost(undo_);
            undo_.clear();
        }
    }
    ~Unwritable()
    {
        if (readOnly_)
            SetFileAttributesA(path_.c_str(), attributes_);
        else if (!undo_.empty())
            RunOnHost(undo_);
    }
    bool Ok() const { return readOnly_ || !undo_.empty(); }
    // Why not, for the skip.
    const std::string& Why() const { return why_; }

private:
    void MakeReadOnly()
    {
        attributes_ = GetFileAttributesA(path_.c_str());
        if (attributes_ == INVALID_FILE_ATTRIBUTES || (attributes_ & FILE_ATTRIBUTE_DIRECTORY)) {
            why_ = "on Windows a folder refuses new files only through its access control list, which the tests "
                   "leave alone";
            return;
        }
        readOnly_ = SetFileAttributesA(path_.c_str(), attributes_ | FILE_ATTRIBUTE_READONLY) && WriteRefused(path_);
        if (readOnly_) return;
        SetFileAttributesA(path_.c_str(), attributes_);
        why_ = "the read-only attribute did not stop writes to the file";
    }

    std::string path_;
    std::string host_;
    std::string undo_;
    std::string why_;
    DWORD attributes_ = 0;
    bool readOnly_ = false;
};

TEST_F(Settings, AFileThatCannotBeReplacedIsLeftAsItWas)
{
    const Bytes old = SettingsBytes(Unusual());
    RunOnFile(old);
    {
        Unwritable locked("zorvik.dat", Unwritable::WritesAndReplacement);
        if (!locked.Ok()) GTEST_SKIP() << locked.Why();
        StopTestApp();
    }
    ExpectOnlyTheOldFile(old);
}

TEST_F(Settings, ADirectoryThatTakesNoNewFileSavesIntoTheFileIfItCanBeWritten)
{
    REQUIRE_WINDOW_SIZE(300, 320);
    const Bytes old = SettingsBytes(Unusual());
    RunOnFile(old);
    {
        Unwritable directory(dir_.Path());
        if (!directory.Ok()) GTEST_SKIP() << "a directory: " << directory.Why();
        StopTestApp();
    }
    SettingsRecord saved = Unusual();
    saved.Zoom = 3;
    EXPECT_EQ(dir_.Read("zorvik.dat"), SettingsBytes(saved));
    EXPECT_EQ(dir_.Files(), Names{"zorvik.dat"});
    HANDLE exclusive =
        CreateFileA("zorvik.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);  // the save closed its handle
    CloseHandle(exclusive);

    dir_.Write("zorvik.dat", old);
    {
        Unwritable directory(dir_.Path());
        Unwritable file("zorvik.dat");
        if (!directory.Ok() || !file.Ok()) GTEST_SKIP() << (directory.Ok() ? "a file: " + file.Why() : "a directory: " + directory.Why());
        EXPECT_FALSE(WriteSettingsFile(AppState.AppSettings, "zorvik.dat"));
    }
    ExpectOnlyTheOldFile(old);
}

TEST_F(Settings, WriteSettingsFileReplacesTheFileOrLeavesNothing)
{
    dir_.Write("zorvik.dat", {1, 2, 3});
    const SettingsRecord record = Unusual();
    EXPECT_TRUE(WriteSettingsFile(record, "zorvik.dat"));
    EXPECT_EQ(dir_.Read("zorvik.dat"), SettingsBytes(Unusual()));
    EXPECT_FALSE(WriteSettingsFile(record, "no such directory\\zorvik.dat"));
    EXPECT_EQ(dir_.Files(), Names{"zorvik.dat"});
}

TEST_F(Settings, ShiftAndCtrlTogetherSkipLoadingAndSaving)
{
    // Ctrl+Shift also switches the keyboard layout where Windows has that hot key.
    SKIP_UNLESS_DESKTOP_MAY_CHANGE("the keys held down (Shift and Ctrl, through SendInput)");
    REQUIRE_WINDOW_SIZE(215, 235);
    dir_.Write("zorvik.dat", SettingsBytes(Unusual()));
    for (WORD key : {VK_SHIFT, VK_CONTROL}) {  // one of them is not enough
        HeldKeys held({key});
        ASSERT_TRUE(held.AllHeld());
        EXPECT_TRUE(LoadSettings()) << "key " << key;
    }
    {
        HeldKeys both({VK_SHIFT, VK_CONTROL});
        ASSERT_TRUE(both.AllHeld());
        AppState = AppStateRecord{};
        EXPECT_FALSE(LoadSettings());
        EXPECT_EQ(InMemory(), Bytes(24, 0));
        ASSERT_TRUE(StartTestApp());
    }
    EXPECT_EQ(WindowRect().left, 75);  // the defaults, although the file is valid
    EXPECT_EQ(CheckedIds(AppState.ZoomMenu), std::vector<UINT>{6});
    EXPECT_FALSE(IsTopMost());
    StopTestApp();  // without the keys this run's state replaces the file
    const Bytes defaults = SettingsBytes(DefaultRecord());
    EXPECT_EQ(dir_.Read("zorvik.dat"), defaults);

    ASSERT_TRUE(StartTestApp());
    Command(3);
    {
        HeldKeys both({VK_SHIFT, VK_CONTROL});
        ASSERT_TRUE(both.AllHeld());
        StopTestApp();
    }
    ExpectOnlyTheOldFile(defaults);
}

}  // namespace
