#include "log/SquashLog.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<SquashLogEntry> Entries(const SquashLog& log)
{
    std::vector<SquashLogEntry> entries;
    for (int i = 0; i < log.GetCount(); ++i) {
        SquashLogEntry entry;
        EXPECT_TRUE(log.GetEntry(i, entry.title, entry.url, entry.date, entry.type));
        entries.push_back(entry);
    }
    return entries;
}

// Fields joined by '|', for readable comparisons.
std::string Show(const SquashLogEntry& entry)
{
    return entry.title + "|" + entry.url + "|" + entry.date + "|" + entry.type;
}

std::vector<std::string> Shown(const SquashLog& log)
{
    std::vector<std::string> lines;
    for (const SquashLogEntry& entry : Entries(log))
        lines.push_back(Show(entry));
    return lines;
}

using Lines = std::vector<std::string>;

// ---- The list -----------------------------------------------------------

TEST(SquashLogList, ProcessWideLogStartsEmpty)
{
    EXPECT_EQ(squashLog.GetCount(), 0);
}

TEST(SquashLogList, AddKeepsOrderAndCopiesTheTexts)
{
    SquashLog log;
    EXPECT_EQ(log.GetCount(), 0);
    char title[] = "Ad Window";
    EXPECT_TRUE(log.Add(title, "http://ads.example/x", "8/20/2004", "Popup"));
    title[0] = 'X';  // the log holds its own copy
    EXPECT_TRUE(log.Add("Page", "http://spy.example/", "12/1/2004", "Spyware"));
    EXPECT_TRUE(log.Add(nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(log.GetCount(), 3);
    EXPECT_EQ(Shown(log), (Lines{"Ad Window|http://ads.example/x|8/20/2004|Popup",
                                 "Page|http://spy.example/|12/1/2004|Spyware", "|||"}));
}

TEST(SquashLogList, GetEntryRefusesBadIndexesAndLeavesOutputs)
{
    SquashLog log;
    std::string title = "t", url = "u", date = "d", type = "y";
    EXPECT_FALSE(log.GetEntry(0, title, url, date, type));
    log.Add("a", "b", "c", "d");
    for (int index : {-1, 1, 2, INT_MIN, INT_MAX}) {
        EXPECT_FALSE(log.GetEntry(index, title, url, date, type)) << index;
        EXPECT_EQ(title + url + date + type, "tudy") << index;
    }
    EXPECT_TRUE(log.GetEntry(0, title, url, date, type));
    EXPECT_EQ(title + url + date + type, "abcd");
}

TEST(SquashLogList, ClearEmptiesAndTheLogStaysUsable)
{
    SquashLog log;
    for (int i = 0; i < 100; ++i)
        log.Add("t", "u", "d", "Popup");
    EXPECT_TRUE(log.Clear());
    EXPECT_EQ(log.GetCount(), 0);
    std::string title, url, date, type;
    EXPECT_FALSE(log.GetEntry(0, title, url, date, type));
    EXPECT_TRUE(log.Clear());
    log.Add("after", "u", "d", "Spyware");
    EXPECT_EQ(Shown(log), Lines{"after|u|d|Spyware"});
}

// ---- Parsing a line -----------------------------------------------------

TEST(SquashLogParse, FieldsShiftAcrossEmptyAndSplitPieces)
{
    const struct {
        const char* line;
        const char* fields;
    } cases[] = {
        {"Title$http://a/$8/20/2004$Popup", "Title|http://a/|8/20/2004|Popup"},
        {"$http://a/$8/20/2004$Popup", "http://a/|8/20/2004|Popup|"},        // empty title
        {"Title$$8/20/2004$Popup", "Title|8/20/2004|Popup|"},                 // empty middle field
        {"Title$http://a/?p=$x$8/20/2004$Popup", "Title|http://a/?p=|x|8/20/2004"},  // "$" inside a field
        {"a$b$c$d$e$f", "a|b|c|d"},                                           // more than four pieces
        {"a$$$$b$$$c$$$$d$$$$$e", "a|b|c|d"},
        {"$$$", "|||"},
        {"", "|||"},
        {"lonely", "lonely|||"},
        {"$a$b$", "a|b||"},
        {"a b\tc$ u $", "a b\tc| u ||"},                                      // no trimming
    };
    for (const auto& c : cases)
        EXPECT_EQ(Show(ParseSquashLogLine(c.line)), c.fields) << c.line;
}

// ---- Saving and loading -------------------------------------------------

TEST(SquashLogFile, SaveWritesExactBytes)
{
    TempFolder folder;
    const std::string path = folder.Path("hist.twk");
    SquashLog log;
    log.Add("Ad", "http://ads.example/pop.html", "8/20/2004", "Popup");
    log.Add("", "http://b/$x", "1/2/2005", "Spyware");
    ASSERT_TRUE(log.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path),
              "Ad$http://ads.example/pop.html$8/20/2004$Popup\r\n"
              "$http://b/$x$1/2/2005$Spyware\r\n");
    EXPECT_FALSE(FileExists(path + ".new"));
}

TEST(SquashLogFile, EmptyLogSavesAnEmptyFile)
{
    TempFolder folder;
    const std::string path = folder.Path("hist.twk");
    ASSERT_TRUE(WriteFileBytes(path, "old$entry$1/1/2004$Popup\r\n"));
    SquashLog log;
    ASSERT_TRUE(log.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path), "");
    SquashLog reloaded;
    LoadSquashLogFile(path.c_str(), reloaded);
    EXPECT_EQ(reloaded.GetCount(), 0);
}

TEST(SquashLogFile, LineEndsInsideFieldsAreWrittenAsSpaces)
{
    TempFolder folder;
    const std::string path = folder.Path("hist.twk");
    SquashLog log;
    log.Add("two\r\nlines", "http://a/\n", "\r8/20/2004", "Popup");
    log.Add("next", "u", "d", "Spyware");
    ASSERT_TRUE(log.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path), "two  lines$http://a/ $ 8/20/2004$Popup\r\nnext$u$d$Spyware\r\n");
    SquashLog reloaded;
    LoadSquashLogFile(path.c_str(), reloaded);
    EXPECT_EQ(Shown(reloaded), (Lines{"two  lines|http://a/ | 8/20/2004|Popup", "next|u|d|Spyware"}));
}

TEST(SquashLogFile, RoundTripThroughTheFile)
{
    TempFolder folder;
    const std::string path = folder.Path("hist.twk");
    SquashLog log;
    const std::string longUrl = "http://long.example/?" + std::string(200000, 'q');
    log.Add("First", "http://a.example/", "8/20/2004", "Popup");
    log.Add("Long", longUrl.c_str(), "8/21/2004", "Spyware");
    for (int i = 0; i < 5000; ++i)
        log.Add(("T" + std::to_string(i)).c_str(), "http://x/", "1/1/2005", "Popup");
    ASSERT_TRUE(log.Save(path.c_str()));

    SquashLog reloaded;
    reloaded.Add("already", "there", "1/1/2000", "Popup");  // loading appends
    LoadSquashLogFile(path.c_str(), reloaded);
    ASSERT_EQ(reloaded.GetCount(), log.GetCount() + 1);
    const auto before = Entries(log);
    const auto after = Entries(reloaded);
    EXPECT_EQ(Show(after[0]), "already|there|1/1/2000|Popup");
    for (std::size_t i = 0; i < before.size(); ++i)
        ASSERT_EQ(Show(after[i + 1]), Show(before[i])) << i;
    EXPECT_EQ(after[2].url.size(), longUrl.size());
}

TEST(SquashLogFile, ShiftedFieldsAfterRoundTrip)
{
    TempFolder folder;
    const std::string path = folder.Path("hist.twk");
    SquashLog log;
    log.Add("", "http://a/", "8/20/2004", "Popup");
    log.Add("T", "", "8/20/2004", "Popup");
    log.Add("T", "http://a/?$q$r", "8/20/2004", "Spyware");
    log.Add("", "", "", "");
    ASSERT_TRUE(log.Save(path.c_str()));
    SquashLog reloaded;
    LoadSquashLogFile(path.c_str(), reloaded);
    EXPECT_EQ(Shown(reloaded), (Lines{"http://a/|8/20/2004|Popup|", "T|8/20/2004|Popup|",
                                      "T|http://a/?|q|r", "|||"}));
}

TEST(SquashLogFile, LoadSplitsLinesAtLineFeeds)
{
    TempFolder folder;
    const std::string path = folder.Path("hist.twk");
    ASSERT_TRUE(WriteFileBytes(path, "a$b$c$d\r\n"
                                     "\r\n"
                                     "unix$line\n"
                                     "\n"
                                     "inner\rcr$x\r\n"
                                     "last$no$end"));
    SquashLog log;
    LoadSquashLogFile(path.c_str(), log);
    EXPECT_EQ(Shown(log), (Lines{"a|b|c|d", "|||", "unix|line||", "|||", "inner\rcr|x||", "last|no|end|"}));

    ASSERT_TRUE(WriteFileBytes(path, "only$cr\r"));
    SquashLog crAtEnd;
    LoadSquashLogFile(path.c_str(), crAtEnd);
    EXPECT_EQ(Shown(crAtEnd), Lines{"only|cr||"});
}

TEST(SquashLogFile, VeryLongLinesAreReadWhole)
{
    TempFolder folder;
    const std::string path = folder.Path("hist.twk");
    // Lines of many lengths around and beyond typical read buffers, so that a
    // CR and its LF also fall on either side of a buffer end.
    std::string bytes;
    Lines expected;
    for (std::size_t length : {65534u, 65535u, 65536u, 65537u, 131071u, 300000u, 1u}) {
        const std::string title(length, 't');
        bytes += title + "$u\r\n";
        expected.push_back(title + "|u||");
    }
    bytes += std::string(70000, 'z');  // and a long last line without its end
    expected.push_back(std::string(70000, 'z') + "|||");
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    SquashLog log;
    LoadSquashLogFile(path.c_str(), log);
    EXPECT_EQ(Shown(log), expected);
}

TEST(SquashLogFile, MissingFileAddsNothing)
{
    TempFolder folder;
    SquashLog log;
    log.Add("kept", "u", "d", "Popup");
    LoadSquashLogFile(folder.Path("hist.twk").c_str(), log);
    LoadSquashLogFile(folder.Path("no such folder/hist.twk").c_str(), log);
    LoadSquashLogFile(nullptr, log);
    EXPECT_EQ(Shown(log), Lines{"kept|u|d|Popup"});
}

TEST(SquashLogFile, SaveReplacesAnExistingFile)
{
    TempFolder folder;
    const std::string path = folder.Path("hist.twk");
    ASSERT_TRUE(WriteFileBytes(path, "old$one$1/1/2004$Popup\r\nold$two$1/1/2004$Popup\r\nold$three$1/1/2004$Popup\r\n"));
    ASSERT_TRUE(WriteFileBytes(path + ".new", "stale leftover of an earlier save\r\n"));
    SquashLog log;
    log.Add("new", "u", "2/2/2005", "Spyware");
    ASSERT_TRUE(log.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path), "new$u$2/2/2005$Spyware\r\n");
    EXPECT_FALSE(FileExists(path + ".new"));

    log.Add("second", "u", "2/3/2005", "Popup");
    ASSERT_TRUE(log.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path), "new$u$2/2/2005$Spyware\r\nsecond$u$2/3/2005$Popup\r\n");
    EXPECT_FALSE(FileExists(path + ".new"));
}

TEST(SquashLogFile, FailedSaveLeavesTheOldFile)
{
    TempFolder folder;
    const std::string path = folder.Path("hist.twk");
    const std::string old = "old$entry$1/1/2004$Popup\r\n";
    ASSERT_TRUE(WriteFileBytes(path, old));
    SquashLog log;
    log.Add("new", "u", "d", "Popup");

    // The new file cannot be created: a folder is in its place.
    ASSERT_TRUE(std::filesystem::create_directory(path + ".new"));
    EXPECT_FALSE(log.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_TRUE(std::filesystem::is_directory(path + ".new"));

    // The folder does not exist.
    const std::string nowhere = folder.Path("missing/hist.twk");
    EXPECT_FALSE(log.Save(nowhere.c_str()));
    EXPECT_FALSE(FileExists(nowhere));
    EXPECT_FALSE(FileExists(folder.Path("missing")));

    EXPECT_FALSE(log.Save(nullptr));
    EXPECT_FALSE(log.Save(""));
}

TEST(SquashLogFile, FullDiskLeavesTheOldFile)
{
    // The new file is made a link to a device that refuses every write for
    // lack of space; where there is no such device the case cannot be set up.
    std::error_code error;
    if (!std::filesystem::exists("/dev/full", error))
        GTEST_SKIP() << "no /dev/full on this system";
    TempFolder folder;
    const std::string path = folder.Path("hist.twk");
    const std::string old = "old$entry$1/1/2004$Popup\r\n";
    ASSERT_TRUE(WriteFileBytes(path, old));
    std::filesystem::create_symlink("/dev/full", path + ".new", error);
    if (error)
        GTEST_SKIP() << "cannot link to /dev/full: " << error.message();

    SquashLog log;
    log.Add("new", "u", "d", "Popup");
    EXPECT_FALSE(log.Save(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_FALSE(std::filesystem::is_symlink(path + ".new"));
}

TEST(SquashLogFile, LoadFallsBackToTheNewFileOnlyWhenTheLogIsMissing)
{
    TempFolder folder;
    const std::string path = folder.Path("hist.twk");
    // A save stopped after removing the old file and before the rename.
    ASSERT_TRUE(WriteFileBytes(path + ".new", "saved$u$d$Popup\r\n"));
    SquashLog fromNew;
    LoadSquashLogFile(path.c_str(), fromNew);
    EXPECT_EQ(Shown(fromNew), Lines{"saved|u|d|Popup"});

    ASSERT_TRUE(WriteFileBytes(path, "current$u$d$Spyware\r\n"));
    SquashLog fromLog;
    LoadSquashLogFile(path.c_str(), fromLog);
    EXPECT_EQ(Shown(fromLog), Lines{"current|u|d|Spyware"});
}

} // namespace
