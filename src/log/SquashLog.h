#pragma once
#include <string>

struct SquashLogEntry {
    std::string title, url, date, type;
};

class SquashLog {
public:
    virtual ~SquashLog();
    bool Add(const char* title, const char* url, const char* date, const char* type);
    bool Clear();
    int GetCount() const;
    bool GetEntry(int index, std::string& title, std::string& url, std::string& date, std::string& type) const;
    bool Save(const char* path);
};

SquashLogEntry ParseSquashLogLine(const std::string& line);
void LoadSquashLogFile(const char* path, SquashLog& log);
