// The notification-area balloons under Wine: the real Shell_NotifyIconW, received by a stand-in
// for the taskbar that records what the shell hands it, and the shell's messages back about a
// balloon that was clicked or went away.
#include "platform/win32/win32_notifications.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/win32/wide_text.h"

namespace volumetra {
namespace {

/// What Wine's shell32 sends the taskbar for one call: WM_COPYDATA with the NIM_ message as
/// dwData and the icon's data in this fixed layout (its start; the icon's bitmap follows).
struct TrayData {
  LONG window;
  UINT id;
  UINT flags;
  UINT callbackMessage;
  WCHAR tip[128];
  DWORD state;
  DWORD stateMask;
  WCHAR info[256];
  UINT timeoutOrVersion;
  WCHAR infoTitle[64];
  DWORD infoFlags;
};

struct TrayCall {
  DWORD message;
  HWND window;
  UINT id;
  UINT flags;
  UINT callbackMessage;
  std::string infoTitle;
  std::string info;
  DWORD infoFlags;
};

/// A window of the taskbar's class, which shell32 finds and tells every notification-area call.
class StandInTaskbar {
 public:
  StandInTaskbar() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Receive;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~StandInTaskbar() { DestroyWindow(window_); }
  /// True when shell32 finds this window rather than another taskbar.
  bool found() const { return window_ && FindWindowW(L"Shell_TrayWnd", nullptr) == window_; }

  std::vector<TrayCall> calls;

 private:
  static LRESULT CALLBACK Receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<StandInTaskbar*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != WM_COPYDATA || !self) return DefWindowProcW(window, message, wParam, lParam);
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (copy->cbData < sizeof(TrayData)) return FALSE;
    const auto* data = static_cast<const TrayData*>(copy->lpData);
    self->calls.push_back({static_cast<DWORD>(copy->dwData),
                           reinterpret_cast<HWND>(static_cast<LONG_PTR>(data->window)), data->id, data->flags,
                           data->callbackMessage, Utf8(data->infoTitle), Utf8(data->info), data->infoFlags});
    return TRUE;
  }

  HWND window_ = nullptr;
};

class Win32NotificationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!taskbar.found())
      GTEST_SKIP() << "another taskbar of this desktop receives the notification area's calls";
    notifications.setOnClicked([this] { ++clicks; });
  }
  /// What the shell sends the icon's window about `event` of the icon `tag`.
  void shellTells(char tag, UINT event) {
    const TrayCall& added = taskbar.calls.front();
    SendMessageW(added.window, added.callbackMessage, static_cast<WPARAM>(tag), static_cast<LPARAM>(event));
  }

  StandInTaskbar taskbar;
  Win32Notifications notifications;
  int clicks = 0;
};

TEST_F(Win32NotificationsTest, BalloonCarriesTheTextsOnAnIconOfItsOwn) {
  notifications.Notify({'D', "Wenig Speicherplatz auf D: (Fotos für Oma)", "95 MB frei von 256 GB"});
  ASSERT_EQ(taskbar.calls.size(), 1u);
  const TrayCall& call = taskbar.calls[0];
  EXPECT_EQ(call.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(call.window, notifications.window());
  EXPECT_EQ(call.id, static_cast<UINT>('D'));
  EXPECT_EQ(call.flags & (NIF_INFO | NIF_MESSAGE | NIF_ICON),
            static_cast<UINT>(NIF_INFO | NIF_MESSAGE | NIF_ICON));
  EXPECT_EQ(call.infoTitle, "Wenig Speicherplatz auf D: (Fotos für Oma)");
  EXPECT_EQ(call.info, "95 MB frei von 256 GB");
  EXPECT_EQ(call.infoFlags & NIIF_ICON_MASK, static_cast<DWORD>(NIIF_WARNING));
}

TEST_F(Win32NotificationsTest, LaterOneOfTheSameDriveReplacesTheBalloonAnotherDriveGetsItsOwn) {
  notifications.Notify({'D', "Low disk space on D:", "95 MB free of 256 GB"});
  notifications.Notify({'D', "Low disk space on D:", "80 MB free of 256 GB"});
  notifications.Notify({'E', "Low disk space on E:", "1.5 MB free of 2 GB"});
  ASSERT_EQ(taskbar.calls.size(), 3u);
  EXPECT_EQ(taskbar.calls[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(taskbar.calls[1].info, "80 MB free of 256 GB");
  EXPECT_EQ(taskbar.calls[2].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(taskbar.calls[2].id, static_cast<UINT>('E'));
}

TEST_F(Win32NotificationsTest, ClickOnTheBalloonRemovesTheIconAndRunsTheClickHandler) {
  notifications.Notify({'D', "Low disk space on D:", "95 MB free of 256 GB"});
  shellTells('D', NIN_BALLOONUSERCLICK);
  EXPECT_EQ(clicks, 1);
  ASSERT_EQ(taskbar.calls.size(), 2u);
  EXPECT_EQ(taskbar.calls[1].message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(taskbar.calls[1].id, static_cast<UINT>('D'));
}

TEST_F(Win32NotificationsTest, BalloonThatTimesOutTakesItsIconAlongAndTheNextAddsOneAgain) {
  notifications.Notify({'D', "Low disk space on D:", "95 MB free of 256 GB"});
  shellTells('D', NIN_BALLOONTIMEOUT);
  notifications.Notify({'D', "Low disk space on D:", "90 MB free of 256 GB"});
  ASSERT_EQ(taskbar.calls.size(), 3u);
  EXPECT_EQ(taskbar.calls[1].message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(taskbar.calls[2].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(clicks, 0);
}

TEST_F(Win32NotificationsTest, TextsLongerThanTheBalloonHoldsAreCut) {
  notifications.Notify({'D', std::string(100, 'T'), std::string(400, 'b')});
  ASSERT_EQ(taskbar.calls.size(), 1u);
  EXPECT_EQ(taskbar.calls[0].infoTitle, std::string(63, 'T'));
  EXPECT_EQ(taskbar.calls[0].info, std::string(255, 'b'));
}

}  // namespace
}  // namespace volumetra
