// SetClipboardText on the real clipboard, with a window of the test standing in for MainWindow.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "general/general.h"
#include "system_at_hand.h"

namespace {

HWND CreateOwner()
{
    return CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

// Puts text on the clipboard without the code under test.
void PutText(HWND owner, const std::string& text)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

// The whole CF_TEXT block, terminator and slack included.
std::vector<unsigned char> TextBlock()
{
    std::vector<unsigned char> bytes;
    if (!OpenClipboard(nullptr)) return bytes;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        const auto* p = static_cast<const unsigned char*>(GlobalLock(data));
        bytes.assign(p, p + GlobalSize(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return bytes;
}

std::string Text()
{
    const std::vector<unsigned char> block = TextBlock();
    return block.empty() ? "(none)" : std::string(reinterpret_cast<const char*>(block.data()));
}

class Clipboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_UNLESS_DESKTOP_MAY_CHANGE("the clipboard");
        MainWindow = CreateOwner();
        ASSERT_NE(MainWindow, nullptr);
        ASSERT_NE(other_, nullptr);
        PutText(other_, "before");
        sequence_ = GetClipboardSequenceNumber();
    }
    void TearDown() override
    {
        DestroyWindow(MainWindow);
        DestroyWindow(other_);
        MainWindow = nullptr;
    }
    void ExpectUnchanged() const
    {
        EXPECT_EQ(GetClipboardSequenceNumber(), sequence_);
        EXPECT_EQ(Text(), "before");
        EXPECT_EQ(GetClipboardOwner(), other_);
    }

    HWND other_ = CreateOwner();
    DWORD sequence_ = 0;
};

TEST_F(Clipboard, TextArrivesAsTerminatedCfTextOwnedByTheMainWindow)
{
    SetClipboardText("255");
    const std::vector<unsigned char> block = TextBlock();
    ASSERT_GE(block.size(), 4u);
    EXPECT_EQ(std::string(block.begin(), block.begin() + 4), std::string("255\0", 4));
    EXPECT_EQ(GetClipboardOwner(), MainWindow);
}

TEST_F(Clipboard, ATextWithAZeroByteStopsThereAndTheRestOfTheBlockIsZero)
{
    SetClipboardText(std::string("ab\0cd", 5));
    const std::vector<unsigned char> block = TextBlock();
    ASSERT_GE(block.size(), 6u);
    EXPECT_EQ(std::string(block.begin(), block.begin() + 6), std::string("ab\0\0\0\0", 6));
}

TEST_F(Clipboard, AnEmptyTextLeavesContentAndOwnerAlone)
{
    SetClipboardText("");
    ExpectUnchanged();
}

TEST_F(Clipboard, TwoCallsLeaveOnlyTheSecondText)
{
    SetClipboardText("123456789");
    SetClipboardText("0000ff");
    EXPECT_EQ(Text(), "0000ff");
    // The text forms the system derives must not hold the first text either.
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE wide = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(GlobalLock(wide))), L"0000ff");
    GlobalUnlock(wide);
    CloseClipboard();
}

struct Holder {
    HANDLE Opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE Release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool Holding = false;
};

// Holds the clipboard open from another thread's window until released.
DWORD WINAPI HoldClipboard(void* data)
{
    auto* h = static_cast<Holder*>(data);
    HWND window = CreateOwner();
    h->Holding = OpenClipboard(window) != 0;
    SetEvent(h->Opened);
    WaitForSingleObject(h->Release, 10000);
    if (h->Holding) CloseClipboard();
    DestroyWindow(window);
    return 0;
}

TEST_F(Clipboard, AClipboardHeldOpenElsewhereIsLeftUnchanged)
{
    Holder holder;
    HANDLE thread = CreateThread(nullptr, 0, HoldClipboard, &holder, 0, nullptr);
    WaitForSingleObject(holder.Opened, 10000);
    EXPECT_TRUE(holder.Holding);
    EXPECT_FALSE(SetClipboardText("42"));  // gives up a while before the holder lets go
    SetEvent(holder.Release);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(holder.Opened);
    CloseHandle(holder.Release);
    ExpectUnchanged();
}

}  // namespace
