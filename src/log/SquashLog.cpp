#include "log/SquashLog.h"

#include <cerrno>
#include <climits>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

SquashLog squashLog;

namespace {

const char* const kNewFileSuffix = ".new";

const char* OrEmpty(const char* text)
{
    return text ? text : "";
}

// A line end inside a field would split the entry in two when read back.
void AppendField(std::string& line, const std::string& field)
{
    for (char c : field)
        line.push_back(c == '\r' || c == '\n' ? ' ' : c);
}

bool WriteAll(std::FILE* file, const std::string& text)
{
    return text.empty() || std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

// Puts what was written to the file on the disk itself, so that the file
// that takes the old one's place is never found cut short after a crash.
bool WriteToDisk(std::FILE* file)
{
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// Moves the complete new file over the old one in one step, so that at every
// moment either the old or the new file is in place. On Windows rename
// refuses an existing target; MoveFileEx replaces it, and with write-through
// returns only once the move is on the disk.
bool MoveOver(const std::string& from, const char* to)
{
#ifdef _WIN32
    const bool moved = MoveFileExA(from.c_str(), to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    const bool moved = std::rename(from.c_str(), to) == 0;
#endif
    if (!moved)
        std::remove(from.c_str());
    return moved;
}

// Whether the open file ends with a line end (LF); false for an empty file.
// The read position is back at the start afterwards.
bool EndsWithLineEnd(std::FILE* file)
{
    const bool ends = std::fseek(file, -1, SEEK_END) == 0 && std::fgetc(file) == '\n';
    std::rewind(file);
    return ends;
}

// Calls deliver(line) for every line of the file, with the line end (LF, and
// a CR just before it) removed. Stops quietly at a read error.
template <typename Deliver>
void ReadLines(std::FILE* file, Deliver deliver)
{
    std::string line;
    bool pending = false;  // line holds text not yet delivered
    char buffer[65536];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
        std::size_t start = 0;
        for (std::size_t i = 0; i < got; ++i) {
            if (buffer[i] != '\n')
                continue;
            line.append(buffer + start, i - start);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            deliver(line);
            line.clear();
            pending = false;
            start = i + 1;
        }
        if (start < got) {
            line.append(buffer + start, got - start);
            pending = true;
        }
        if (got < sizeof buffer)
            break;
    }
    if (pending && !std::ferror(file)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        deliver(line);
    }
}

} // namespace

SquashLog::~SquashLog() = default;

bool SquashLog::Add(const char* title, const char* url, const char* date, const char* type)
{
    // GetCount reports an int.
    if (entries.size() >= static_cast<std::size_t>(INT_MAX))
        return false;
    entries.push_back(SquashLogEntry{OrEmpty(title), OrEmpty(url), OrEmpty(date), OrEmpty(type)});
    return true;
}

bool SquashLog::Clear()
{
    entries.clear();
    entries.shrink_to_fit();
    return true;
}

int SquashLog::GetCount() const
{
    return static_cast<int>(entries.size());
}

bool SquashLog::GetEntry(int index, std::string& title, std::string& url, std::string& date,
                         std::string& type) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size())
        return false;
    const SquashLogEntry& entry = entries[static_cast<std::size_t>(index)];
    title = entry.title;
    url = entry.url;
    date = entry.date;
    type = entry.type;
    return true;
}

bool SquashLog::Save(const char* path)
{
    if (!path || !*path)
        return false;
    const std::string newPath = std::string(path) + kNewFileSuffix;

    // Binary mode: the CR LF line ends are written here, the same on every
    // platform.
    std::FILE* file = std::fopen(newPath.c_str(), "wb");
    if (!file)
        return false;
    bool written = true;
    std::string line;
    for (const SquashLogEntry& entry : entries) {
        line.clear();
        AppendField(line, entry.title);
        line.push_back('$');
        AppendField(line, entry.url);
        line.push_back('$');
        AppendField(line, entry.date);
        line.push_back('$');
        AppendField(line, entry.type);
        line.append("\r\n");
        if (!WriteAll(file, line)) {
            written = false;
            break;
        }
    }
    if (written && !WriteToDisk(file))
        written = false;
    if (std::fclose(file) != 0)
        written = false;
    if (!written) {
        std::remove(newPath.c_str());
        return false;
    }
    return MoveOver(newPath, path);
}

SquashLogEntry ParseSquashLogLine(const std::string& line)
{
    SquashLogEntry entry;
    std::string* const fields[] = {&entry.title, &entry.url, &entry.date, &entry.type};
    std::size_t filled = 0;
    std::size_t start = 0;
    while (start < line.size() && filled < 4) {
        std::size_t end = line.find('$', start);
        if (end == std::string::npos)
            end = line.size();
        if (end > start)
            fields[filled++]->assign(line, start, end - start);
        start = end + 1;
    }
    return entry;
}

void LoadSquashLogFile(const char* path, SquashLog& log)
{
    if (!path || !*path)
        return;
    std::FILE* file = std::fopen(path, "rb");
    if (!file && errno == ENOENT) {
        // No log, but perhaps a new file that never took its place. Saves
        // write whole lines only, so one without a line end at its end was
        // cut short (a first save, with no earlier log to lose): left unread.
        file = std::fopen((std::string(path) + kNewFileSuffix).c_str(), "rb");
        if (file && !EndsWithLineEnd(file)) {
            std::fclose(file);
            return;
        }
    }
    if (!file)
        return;
    ReadLines(file, [&log](const std::string& line) {
        const SquashLogEntry entry = ParseSquashLogLine(line);
        log.Add(entry.title.c_str(), entry.url.c_str(), entry.date.c_str(), entry.type.c_str());
    });
    std::fclose(file);
}
