#pragma once
#include <vector>

// An ordered list of (line index, character offset) pairs.
class CPositionList
{
public:
    CPositionList() = default;
    virtual ~CPositionList();
    CPositionList(const CPositionList&) = delete;
    CPositionList& operator=(const CPositionList&) = delete;

    // Appends a pair. Returns 1.
    int Add(int line, int offset);
    // Removes every pair. Returns 1.
    int Clear();
    int Count() const;
    // Pair number index (from 0) into line and offset: 1 if it exists, else 0
    // with line and offset untouched.
    int GetAt(int index, int& line, int& offset) const;

private:
    struct Position
    {
        int line;
        int offset;
    };
    std::vector<Position> positions;
};
