// Which logged addresses the log viewer lets the shell open.
#include "log/WebAddress.h"

#include <gtest/gtest.h>

namespace {

TEST(WebAddress, WebAddressesOpen)
{
    for (const char* address : {"http://www.zedo.com/ads/x.html", "https://a.example/", "HTTP://A.EXAMPLE/?q=$1",
                                "hTTpS://a.example:8080/p%20q"})
        EXPECT_TRUE(IsWebAddress(address)) << address;
}

TEST(WebAddress, AnythingElseStaysClosed)
{
    // What a shifted line of the log can put in the address column, and
    // addresses that would start a program or add arguments to the browser.
    for (const char* text : {"", "1/4/2004", "Pop-Up", "http://", "https://", "http:/a.example/", "http:",
                             "C:\\Windows\\system32\\calc.exe", "\\\\server\\share\\run.exe", "file:///C:/x.exe",
                             "javascript:alert(1)", "ftp://a.example/", "about:blank", " http://a.example/",
                             "http://a.example/ -new-window", "http://a.example/\"--flag", "http://a.example/\t",
                             "http://a.example/\x7f", "xhttp://a.example/"})
        EXPECT_FALSE(IsWebAddress(text)) << text;
    // A zero byte inside the text is not an end.
    EXPECT_FALSE(IsWebAddress(std::string("http://a.example/\0x", 19)));
}

} // namespace
