// The page inspection of the real-time monitor: every browser window's page
// is fetched with our own HTTP client and its classid values are compared
// with the class identifiers of the spyware definitions.
#include <windows.h>
#include <exdisp.h>

#include <string>
#include <vector>

#include "app/TarnwickDlg.h"
#include "http/HttpClient.h"
#include "monitor/ComError.h"
#include "monitor/ShellWindows.h"
#include "monitor/PageClassId.h"
#include "scan/SpywareDefinitions.h"

namespace {
// The value buffer of one classid attribute, terminating NUL included.
const int kClassIdValueSize = 256;
} // namespace

void CTarnwickDlg::InspectPages()
{
    // One client for the whole pass; each Get replaces its stored page.
    CHttpClient client(inspectionPort);
    const long count = CountShellWindows();
    const std::string dateText = StartSweepClock();

    for (long index = 0; index < count; ++index) {
        ComRef<IWebBrowser2> browser;
        std::string title, url;
        if (!ReadBrowserWindow(index, browser, title, url))
            continue;

        // Get may rewrite the address in place (backslashes become slashes);
        // a squash records the address as Get left it.
        std::vector<char> address(url.begin(), url.end());
        address.push_back('\0');
        if (client.Get(address.data()) != 0)
            continue;

        // A value that cannot be taken ends the reading of this page.
        for (int occurrence = 0;; ++occurrence) {
            char value[kClassIdValueSize];
            if (client.GetClassId(occurrence, value, kClassIdValueSize) != 0)
                break;
            if (realTimeMonitoring != 1)
                continue;
            const std::string candidate = ClassIdCandidate(value);
            ForEachDefinitionMatch(candidate, SpywareDefinitions::tokens, [&](std::size_t) {
                SquashWindow(browser.Get(), title.c_str(), address.data(), dateText.c_str(), "Spyware");
            });
        }
    }
}
