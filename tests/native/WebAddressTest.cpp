// Which logged addresses the log viewer lets the shell open.
#include "log/WebAddress.h"

#include <gtest/gtest.h>

TEST(WebAddress, OnlyPlainWebAddressesOpen) {
    for (const char* address : {"http://www.zedo.com/ads/x.html", "HTTPS://A.EXAMPLE/?q=$1", "hTTp://a:8080/p%20q"})
        EXPECT_TRUE(IsWebAddress(address)) << address;
    // What a shifted line of the log can put in the address column, and
    // texts that would start a program or add arguments to the browser.
    for (const char* text : {"", "1/4/2004", "http://", "https://", "http:/a.example/", "http:", "C:\\Windows\\calc.exe",
                             "file:///C:/x.exe", "javascript:alert(1)", " http://a/", "http://a/ -new-window",
                             "http://a/\"--flag", "http://a/\t", "http://a/\x7f"})
        EXPECT_FALSE(IsWebAddress(text)) << text;
    EXPECT_FALSE(IsWebAddress(std::string("http://a/\0x", 11)));
}
