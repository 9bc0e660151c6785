#include "http/LineList.h"

#include <cstring>

CLineList::~CLineList()
{
    Clear();
}

int CLineList::Add(const char* text)
{
    if (!text)
        text = "";
    std::size_t size = std::strlen(text) + 1;
    std::unique_ptr<char[]> copy(new char[size]);
    std::memcpy(copy.get(), text, size);
    lines.push_back(std::move(copy));
    return 1;
}

int CLineList::Clear()
{
    lines.clear();
    lines.shrink_to_fit();
    return 1;
}

int CLineList::Count() const
{
    return static_cast<int>(lines.size());
}

const char* CLineList::Item(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= lines.size())
        return nullptr;
    return lines[static_cast<std::size_t>(index)].get();
}
