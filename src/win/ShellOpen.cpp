#include "win/ShellOpen.h"

#include <windows.h>
#include <shellapi.h>
#include <utility>

namespace {
std::function<void(const std::string&)>& Observer()
{
    static std::function<void(const std::string&)> observer;
    return observer;
}
} // namespace

void ShellOpen(const char* address)
{
    const char* text = address != nullptr ? address : "";
    if (Observer()) {
        Observer()(text);
        return;
    }
    ShellExecuteA(nullptr, "open", text, nullptr, nullptr, SW_HIDE);
}

void SetShellOpenObserver(std::function<void(const std::string&)> observer)
{
    Observer() = std::move(observer);
}
