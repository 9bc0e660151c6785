#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "http/LineList.h"
#include "http/PositionList.h"

TEST(LineList, KeepsExactCopiesInOrder)
{
    CLineList list;
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(nullptr, list.Item(0));

    char line[16];
    std::strcpy(line, "first\r\n");
    EXPECT_EQ(1, list.Add(line));
    std::strcpy(line, "changed");
    EXPECT_EQ(1, list.Add(""));
    EXPECT_EQ(1, list.Add("\xE9\xFF\x01 bytes"));
    EXPECT_EQ(1, list.Add(nullptr));

    ASSERT_EQ(4, list.Count());
    EXPECT_STREQ("first\r\n", list.Item(0));
    EXPECT_STREQ("", list.Item(1));
    EXPECT_STREQ("\xE9\xFF\x01 bytes", list.Item(2));
    EXPECT_STREQ("", list.Item(3));
    EXPECT_EQ(nullptr, list.Item(4));
    EXPECT_EQ(nullptr, list.Item(-1));
    EXPECT_EQ(nullptr, list.Item(-2147483647 - 1));

    EXPECT_EQ(1, list.Clear());
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(nullptr, list.Item(0));
    list.Add("c");
    EXPECT_STREQ("c", list.Item(0));
}

TEST(LineList, ItemsStayValidWhileLinesAreAdded)
{
    CLineList list;
    list.Add("short");
    list.Add(std::string(600, 'l').c_str());
    const char* first = list.Item(0);
    const char* second = list.Item(1);
    for (int i = 0; i < 5000; ++i)
        list.Add(std::to_string(i).c_str());
    EXPECT_EQ(first, list.Item(0));
    EXPECT_EQ(second, list.Item(1));
    EXPECT_STREQ("short", first);
    EXPECT_EQ(std::string(600, 'l'), second);
    EXPECT_EQ(5002, list.Count());
    EXPECT_STREQ("4999", list.Item(5001));
}

TEST(PositionList, KeepsPairsInOrder)
{
    CPositionList list;
    int line = -5;
    int offset = -6;
    EXPECT_EQ(0, list.GetAt(0, line, offset));

    EXPECT_EQ(1, list.Add(3, 7));
    EXPECT_EQ(1, list.Add(0, 0));
    EXPECT_EQ(1, list.Add(3, 9));
    EXPECT_EQ(3, list.Count());

    EXPECT_EQ(1, list.GetAt(0, line, offset));
    EXPECT_EQ(3, line);
    EXPECT_EQ(7, offset);
    EXPECT_EQ(1, list.GetAt(2, line, offset));
    EXPECT_EQ(3, line);
    EXPECT_EQ(9, offset);

    // Out of range: the out-parameters keep their values.
    line = -5;
    offset = -6;
    EXPECT_EQ(0, list.GetAt(3, line, offset));
    EXPECT_EQ(0, list.GetAt(-1, line, offset));
    EXPECT_EQ(-5, line);
    EXPECT_EQ(-6, offset);

    EXPECT_EQ(1, list.Clear());
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(0, list.GetAt(0, line, offset));
}
