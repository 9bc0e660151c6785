#pragma once
#include <memory>
#include <vector>

// An ordered list of text lines. Each line is kept as its own exact copy of
// the NUL-terminated text, so a pointer from Item stays valid until Clear or
// destruction, however many lines are added after it.
class CLineList
{
public:
    CLineList() = default;
    virtual ~CLineList();
    CLineList(const CLineList&) = delete;
    CLineList& operator=(const CLineList&) = delete;

    // Appends a copy of the text (a missing text is stored as an empty line). Returns 1.
    int Add(const char* text);
    // Removes every line. Returns 1.
    int Clear();
    int Count() const;
    // The text of line index (from 0), or nullptr when there is no such line.
    const char* Item(int index) const;

private:
    std::vector<std::unique_ptr<char[]>> lines;
};
