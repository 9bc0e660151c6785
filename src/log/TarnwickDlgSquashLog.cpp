// The main window's part of the squash log: loading "hist.twk" and taking
// new entries.
#include "app/TarnwickDlg.h"
#include "log/SquashLog.h"
#include "log/SquashLogDlg.h"

void CTarnwickDlg::LoadSquashLog()
{
    // A missing or unreadable file leaves the log as it is.
    LoadSquashLogFile((startFolder + "\\hist.twk").c_str(), squashLog);
}

void CTarnwickDlg::AddSquashLogLine(const std::string& line)
{
    const SquashLogEntry entry = ParseSquashLogLine(line);
    squashLog.Add(entry.title.c_str(), entry.url.c_str(), entry.date.c_str(), entry.type.c_str());
}

void CTarnwickDlg::LogSquash(const char* title, const char* url, const char* date, const char* type)
{
    squashLog.Add(title, url, date, type);
}

void CTarnwickDlg::ShowSquashLog()
{
    // Each opening reads the log afresh; what the viewer returns is not used.
    CSquashLogDlg viewer;
    viewer.DoModal();
}
