#pragma once
#include <cstddef>
#include <memory>
#include <vector>

// An ordered list of text lines. The lines are copied, NUL-terminated, into
// blocks that are never moved or grown, so a pointer from Item stays valid
// until Clear or destruction, however many lines are added after it; a line
// costs its text, its NUL and one pointer, not a heap block of its own.
class CLineList
{
public:
    // What one line costs beyond its text, for a caller that bounds the
    // memory of a list: its NUL and its entry in the index, rounded up to
    // the same figure on every target.
    static constexpr int kLineOverhead = 16;

    CLineList() = default;
    virtual ~CLineList();
    CLineList(const CLineList&) = delete;
    CLineList& operator=(const CLineList&) = delete;

    // Appends a copy of the text (a missing text is stored as an empty line). Returns 1.
    int Add(const char* text);
    // Appends length bytes of text and a NUL: the line reads as the text up
    // to its first NUL, as if it had been added alone. Returns 1.
    int Add(const char* text, std::size_t length);
    // Space for a line of up to size bytes, NUL included, where the next line
    // goes; it lasts until the list changes. A line of at most size - 1 bytes
    // added from there is not copied again.
    char* Reserve(std::size_t size);
    // Removes every line. Returns 1.
    int Clear();
    int Count() const;
    // The text of line index (from 0), or nullptr when there is no such line.
    const char* Item(int index) const;
    // Bytes of memory the stored lines take, their bookkeeping included.
    std::size_t BytesHeld() const;

private:
    std::vector<const char*> lines;
    // Blocks of kBlockSize bytes (a longer line gets a block of its own
    // size); text is added at the end of the last one.
    std::vector<std::unique_ptr<char[]>> blocks;
    std::size_t blockBytes = 0;
    char* next = nullptr; // the free end of the last block
    std::size_t room = 0; // and its size in bytes
};
