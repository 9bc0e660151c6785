#pragma once
#include <string>
#include <vector>

// One squashed window: its page title, its address, the local date of the
// squash (month/day/year, e.g. 8/20/2004) and "Popup" or "Spyware".
struct SquashLogEntry {
    std::string title, url, date, type;
};

// The log of squashed windows, oldest first. Entries are kept in contiguous
// storage, so appending and counting take constant time.
class SquashLog
{
public:
    SquashLog() = default;
    virtual ~SquashLog();

    // Appends a copy of the four texts (a null pointer counts as an empty
    // text). Returns true.
    bool Add(const char* title, const char* url, const char* date, const char* type);
    // Removes every entry. Returns true.
    bool Clear();
    int GetCount() const;
    // Copies the fields of entry index (from 0). False, with the outputs left
    // as they were, when there is no such entry.
    bool GetEntry(int index, std::string& title, std::string& url, std::string& date, std::string& type) const;
    // Writes every entry as one line "title$url$date$type" ended by CR LF
    // (a CR or LF inside a field is written as a space; nothing else is
    // escaped). The complete file is first written beside the old one, as
    // path + ".new", put on the disk, and then takes its place in one step,
    // so a failed or interrupted save leaves the old file as it was. Returns
    // false when the new file could not be written completely or could not
    // take the old one's place.
    bool Save(const char* path);

private:
    std::vector<SquashLogEntry> entries;
};

// The process-wide log: empty at process start, filled from "hist.twk" while
// the main window initialises, saved by the Exit command.
extern SquashLog squashLog;

// Parses one line of the log file: the pieces between runs of "$" ("$" at
// either end separates nothing) become title, url, date and type in this
// order; missing pieces leave fields empty, pieces after the fourth are
// dropped.
SquashLogEntry ParseSquashLogLine(const std::string& line);

// Appends one entry per line of the file at path (lines end at LF, a CR
// before it is dropped; a last line without its end still counts). A file
// that is missing or cannot be opened adds nothing. When path is missing
// but path + ".new" exists and ends with a line end (a save was cut short
// just as the new file was taking the old one's place), that file is read
// instead; one without it was cut short while being written and adds nothing.
void LoadSquashLogFile(const char* path, SquashLog& log);
