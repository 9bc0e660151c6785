#include "log/SquashLog.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>

// The entries, fields joined by '|' and entries by " / ".
static std::string Shown(const SquashLog& log) {
    std::string shown;
    for (int i = 0; i < log.GetCount(); ++i) {
        SquashLogEntry e;
        EXPECT_TRUE(log.GetEntry(i, e.title, e.url, e.date, e.type));
        shown += (i ? " / " : "") + e.title + "|" + e.url + "|" + e.date + "|" + e.type;
    }
    return shown;
}

static std::string Loaded(const std::string& path, SquashLog log = {}) {
    LoadSquashLogFile(path.c_str(), log);
    return Shown(log);
}

// A missing text counts as empty; an entry that is not there leaves the
// outputs as they were.
TEST(SquashLog, KeepsEntriesInOrderUntilCleared) {
    SquashLog log;
    EXPECT_TRUE(log.Add("Ad", "http://ads.test/x", "8/20/2004", "Popup"));
    EXPECT_TRUE(log.Add(nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(Shown(log), "Ad|http://ads.test/x|8/20/2004|Popup / |||");
    std::string f[4] = {"t", "u", "d", "y"};
    EXPECT_FALSE(log.GetEntry(-1, f[0], f[1], f[2], f[3]) || log.GetEntry(2, f[0], f[1], f[2], f[3]));
    EXPECT_EQ(f[0] + f[1] + f[2] + f[3], "tudy");
    EXPECT_TRUE(log.Clear());
    log.Add("after", "u", "d", "Spyware");
    EXPECT_EQ(Shown(log), "after|u|d|Spyware");
}

TEST(SquashLogFile, SavesOneLinePerEntryAndLoadsThemBack) {
    TempFolder folder;
    const std::string path = folder.Path("hist.twk");
    SquashLog log;
    log.Add("Ad", "http://ads.test/pop.html", "8/20/2004", "Popup");
    log.Add("two\r\nlines", "http://b/$x\n", "\r1/2/2005", "Spyware"); // a line end becomes a space
    ASSERT_TRUE(log.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path),
              "Ad$http://ads.test/pop.html$8/20/2004$Popup\r\ntwo  lines$http://b/$x $ 1/2/2005$Spyware\r\n");
    // Loading appends; a "$" in a field shifts the fields after it.
    EXPECT_EQ(Loaded(path, log),
              Shown(log) + " / Ad|http://ads.test/pop.html|8/20/2004|Popup / two  lines|http://b/|x | 1/2/2005");

    // Lines end at LF (a CR before it is dropped; a last line without its
    // end still counts), whatever their length: CR and LF also fall on either
    // side of a read buffer's end. Fields are the pieces between runs of "$".
    std::ofstream(path, std::ios::binary) << "a$b$c$d$e\r\n\r\n$u$$line\n x\rcr$$$$y $\r\na$$$$b$$$c$$$$d$$$$$e\nlast$cr\r";
    EXPECT_EQ(Loaded(path), "a|b|c|d / ||| / u|line|| /  x\rcr|y || / a|b|c|d / last|cr||");
    // A CR at the end of a 64 KB read and its LF at the start of the next.
    std::ofstream(path, std::ios::binary) << std::string(65535, 't') + "\r\n" + std::string(70000, 'z');
    EXPECT_EQ(Loaded(path), std::string(65535, 't') + "||| / " + std::string(70000, 'z') + "|||");
}

// A save writes path + ".new" completely and then moves it over the old
// file: a failed save leaves the old file as it was.
TEST(SquashLogFile, SaveNeverTearsTheOldFileAndLoadFindsTheNewOne) {
    TempFolder folder;
    const std::string path = folder.Path("hist.twk"), old = "old$entry$1/1/2004$Popup\r\n";
    SquashLog log;
    log.Add("new", "u", "d", "Popup");
    std::ofstream(path + ".new", std::ios::binary) << "stale leftover of an earlier save\r\n";
    ASSERT_TRUE(log.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path) + ReadFileBytes(path + ".new"), "new$u$d$Popup\r\n<missing>");

    // The new file cannot be made: a folder stands in its place, the folder
    // is missing, there is no path.
    std::ofstream(path, std::ios::binary) << old;
    std::filesystem::create_directory(path + ".new");
    for (const std::string& target : {path, folder.Path("missing/hist.twk"), std::string()})
        EXPECT_FALSE(log.Save(target.c_str())) << target;
    EXPECT_FALSE(log.Save(nullptr));
    EXPECT_EQ(ReadFileBytes(path), old);

    // The disk is full: the new file is a link to a device that refuses
    // every write for lack of space (where there is one).
    std::filesystem::remove(path + ".new");
    std::error_code error;
    std::filesystem::create_symlink("/dev/full", path + ".new", error);
    if (!error && std::filesystem::exists("/dev/full")) {
        EXPECT_FALSE(log.Save(path.c_str()));
        EXPECT_EQ(ReadFileBytes(path) + ReadFileBytes(path + ".new"), old + "<missing>");
    }

    // Where the log is missing, a ".new" left by a save is read only when it
    // ends with a whole line (a torn one is a first save cut short); a
    // missing log adds nothing.
    std::filesystem::remove(path + ".new");
    std::ofstream(path + ".new", std::ios::binary) << "saved$u$d$Popup\r\n";
    EXPECT_EQ(Loaded(path), "old|entry|1/1/2004|Popup");
    std::filesystem::remove(path);
    for (auto [saved, loaded] : {std::pair{"saved$u$d$Popup\r\n", "saved|u|d|Popup"}, {"a$u$d$Popup\n", "a|u|d|Popup"},
                                 {"saved$u$d$Popup\r\ntorn$u", ""}, {"a$u$d$Popup\r\nb$u$d$Popup\r", ""}}) {
        std::ofstream(path + ".new", std::ios::binary) << saved;
        EXPECT_EQ(Loaded(path), loaded) << saved;
    }
    EXPECT_EQ(Loaded(path + ".x") + Loaded(""), "");
}
