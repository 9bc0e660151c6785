// The application's run: the splash window for three seconds, then the main
// window until it ends.
#include "AppFixture.h"
#include "app/TarnwickApp.h"

TEST_F(AppTest, RunShowsTheSplashForThreeSecondsThenTheMainWindow)
{
    sim->NoConnectionPoint(true); // the main window's event sink dies with the run
    CTarnwickApp application;
    DWORD splashSeen = 0, mainSeen = 0;
    LOGBRUSH splashBrush = {};
    ThreadTimer drive(30, [&] {
        HWND main = application.mainWindow, splash = main == nullptr ? FindWindowA("#32770", nullptr) : nullptr;
        if (splash != nullptr && splashSeen == 0 && IsWindowVisible(splash)) {
            splashSeen = GetTickCount();
            HDC dc = GetDC(splash);
            const LRESULT brush = SendMessageA(splash, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0);
            GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof splashBrush, &splashBrush);
            ReleaseDC(splash, dc);
        }
        if (main != nullptr && IsWindowVisible(main)) {
            mainSeen = mainSeen != 0 ? mainSeen : GetTickCount();
            PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
        }
        // A splash that never ends is ended here, late enough to fail.
        if (splash != nullptr && splashSeen != 0 && GetTickCount() - splashSeen > 10000)
            PostMessageA(splash, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(application.InitInstance());
    EXPECT_TRUE(mainSeen - splashSeen >= 2000 && mainSeen - splashSeen <= 8000) << mainSeen - splashSeen;
    EXPECT_EQ(splashBrush.lbColor, RGB(255, 255, 255));
    EXPECT_EQ(application.mainWindow, nullptr);
    EXPECT_TRUE(application.DialogBkColor() == RGB(227, 227, 227) && application.DialogTextColor() == RGB(0, 0, 0));
    EXPECT_EQ(application.ProfileKeyPath("CurrentBuild"), "Software\\Ostrand\\" + application.AppName() + "\\CurrentBuild");
}
