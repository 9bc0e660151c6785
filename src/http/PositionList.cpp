#include "http/PositionList.h"

CPositionList::~CPositionList()
{
    Clear();
}

int CPositionList::Add(int line, int offset)
{
    positions.push_back(Position{line, offset});
    return 1;
}

int CPositionList::Clear()
{
    positions.clear();
    positions.shrink_to_fit();
    return 1;
}

int CPositionList::Count() const
{
    return static_cast<int>(positions.size());
}

int CPositionList::GetAt(int index, int& line, int& offset) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= positions.size())
        return 0;
    const Position& entry = positions[static_cast<std::size_t>(index)];
    line = entry.line;
    offset = entry.offset;
    return 1;
}
