// The page inspection of the real-time monitor: every browser window's page
// is fetched with our own HTTP client and its classid values are compared
// with the class identifiers of the spyware definitions.
#include <windows.h>
#include <exdisp.h>

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "app/TarnwickDlg.h"
#include "http/PageFetcher.h"
#include "monitor/ComError.h"
#include "monitor/ShellWindows.h"
#include "monitor/PageClassId.h"
#include "scan/SpywareDefinitions.h"

namespace {
// The value buffer of one classid attribute, terminating NUL included.
const int kClassIdValueSize = 256;

// A browser window of the pass and the page fetched for it.
struct InspectedWindow {
    ComRef<IWebBrowser2> browser;
    std::string title;
    int page;
};
} // namespace

void CTarnwickDlg::InspectPages()
{
    // The pages of all windows are fetched together, so that the pass waits
    // about as long as its slowest page rather than the sum of all; they are
    // then examined in window order, as if fetched one after the other.
    CPageFetcher fetcher(inspectionPort);
    const long count = CountShellWindows();
    const std::string dateText = StartSweepClock();

    // A failed automation call ends the pass, but only after the windows
    // read before it: one at a time they would have been examined already.
    std::vector<InspectedWindow> windows;
    std::exception_ptr failure;
    try {
        for (long index = 0; index < count; ++index) {
            InspectedWindow window;
            std::string url;
            if (!ReadBrowserWindow(index, window.browser, window.title, url))
                continue;
            window.page = fetcher.Add(url.c_str());
            windows.push_back(std::move(window));
        }
    } catch (...) {
        failure = std::current_exception();
    }
    fetcher.FetchAll();

    for (const InspectedWindow& window : windows) {
        if (fetcher.Result(window.page) != 0)
            continue;
        // A value that cannot be taken ends the reading of this page. A
        // squash records the address as the client left it (backslashes
        // become slashes).
        CHttpClient& page = fetcher.Page(window.page);
        for (int occurrence = 0;; ++occurrence) {
            char value[kClassIdValueSize];
            if (page.GetClassId(occurrence, value, kClassIdValueSize) != 0)
                break;
            if (realTimeMonitoring != 1)
                continue;
            const std::string candidate = ClassIdCandidate(value);
            ForEachDefinitionMatch(candidate, SpywareDefinitions::tokens, [&](std::size_t) {
                SquashWindow(window.browser.Get(), window.title.c_str(), fetcher.Address(window.page),
                             dateText.c_str(), "Spyware");
            });
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}
