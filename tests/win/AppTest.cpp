// The main window's settings, the autostart value and the definitions file.
#include "AppFixture.h"
#include "app/ProgramLocation.h"

namespace {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

} // namespace

TEST_F(AppTest, SettingsLoadIntoFieldsAndBoxesAndSaveFromTheBoxes)
{
    const char* names[] = {"Pop", "Anim", "Sound", "AppLog", "Real"};
    // Each round starts from what the round before saved, the first from an
    // empty profile; the running settings stay as read at start-up.
    std::vector<int> stored = {0, 0, 0, 0, 0};
    for (const std::vector<int>& ticked : {std::vector<int>{1, 1, 1, 1, 1}, std::vector<int>{0, 1, 0, 1, 0}}) {
        TestMainWindow& w = Start();
        CButtonControl* boxes[] = {&w.popupCheck, &w.animateCheck, &w.soundCheck, &w.squashLogCheck, &w.realTimeCheck};
        const int* fields[] = {&w.popupBlocking, &w.animateIcon, &w.playSound, &w.squashLogging, &w.realTimeMonitoring};
        for (int i = 0; i < 5; ++i) {
            EXPECT_TRUE(*fields[i] == stored[i] && boxes[i]->GetCheck() == stored[i]) << names[i];
            boxes[i]->SetCheck(ticked[i]);
        }
        MessageBoxWatcher watcher;
        Click(IDOK);
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        EXPECT_EQ(watcher.Boxes()[0].text, "Settings Saved Successfully!");
        for (int i = 0; i < 5; ++i)
            EXPECT_TRUE(app.GetProfileInt("CurrentBuild", names[i], -1) == ticked[i] && *fields[i] == stored[i]) << names[i];
        stored = ticked;
        Stop();
    }
}

TEST_F(AppTest, LoadAtStartupSwitchesTheRunValue)
{
    TestMainWindow& w = Start();
    char data[MAX_PATH] = {};
    DWORD type = 0, size = sizeof data;
    // Without a value ours is written; a value of any type counts as on and goes.
    SHDeleteValueA(HKEY_LOCAL_MACHINE, kRunKey, "Gravelin");
    Command(ID_TRAY_LOAD_AT_STARTUP);
    ASSERT_EQ(SHGetValueA(HKEY_LOCAL_MACHINE, kRunKey, "Gravelin", &type, data, &size), 0u);
    EXPECT_EQ(std::to_string(type) + std::string(data, size), "1" + CommandLineFor(RunningProgramPath()) + '\0');
    for (DWORD other : {REG_SZ, REG_DWORD}) {
        SHSetValueA(HKEY_LOCAL_MACHINE, kRunKey, "Gravelin", other, "\7\0\0\0", 4);
        EXPECT_TRUE(w.IsAutostartOn());
        Command(ID_TRAY_LOAD_AT_STARTUP);
        EXPECT_FALSE(w.IsAutostartOn());
    }
}

TEST_F(AppTest, DefinitionsFileIsReadWholeFromTheStartFolder)
{
    // A missing or too large file drops the records of an earlier load; a
    // damaged one keeps those read whole before the damage.
    const std::string image("\x02\x00\x03" "a;b" "\x01" "c", 8);
    const struct { std::string bytes; size_t size; std::vector<std::string> records; } cases[] = {
        {"", 0, {}}, {std::string("\x03\x00\x03x;y\x05nam", 10), 10, {"x;y"}},
        {image, 16 << 20, {"a;b", "c"}}, {image, (16 << 20) + 1, {}}};
    for (const auto& c : cases) {
        DeleteFileA(folder.Path("deda.twk").c_str());
        if (c.size > 0)
            std::ofstream(folder.Path("deda.twk"), std::ios::binary) << c.bytes + std::string(c.size - c.bytes.size(), '\0');
        SpywareDefinitions::records = {"old;x", "old;y", "last"};
        Start();
        EXPECT_EQ(SpywareDefinitions::records, c.records) << c.size;
        Stop();
    }
}
