#include "http/LineList.h"

#include <cstring>

namespace
{
// Large enough that the space left unused at a block's end stays small next
// to it (a response line is at most 511 bytes), small enough that an empty
// list's first block costs little.
const std::size_t kBlockSize = 16 * 1024;
}

CLineList::~CLineList()
{
    Clear();
}

int CLineList::Add(const char* text)
{
    return text ? Add(text, std::strlen(text)) : Add("", 0);
}

int CLineList::Add(const char* text, std::size_t length)
{
    const std::size_t size = length + 1;
    if (text != next)
    {
        Reserve(size);
        std::memcpy(next, text, length);
    }
    next[length] = '\0';
    lines.push_back(next);
    next += size;
    room -= size;
    return 1;
}

char* CLineList::Reserve(std::size_t size)
{
    if (size > room)
    {
        const std::size_t blockSize = size > kBlockSize ? size : kBlockSize;
        blocks.emplace_back(new char[blockSize]);
        blockBytes += blockSize;
        next = blocks.back().get();
        room = blockSize;
    }
    return next;
}

int CLineList::Clear()
{
    lines.clear();
    lines.shrink_to_fit();
    blocks.clear();
    blocks.shrink_to_fit();
    blockBytes = 0;
    next = nullptr;
    room = 0;
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
    return lines[static_cast<std::size_t>(index)];
}

std::size_t CLineList::BytesHeld() const
{
    return blockBytes + lines.capacity() * sizeof(lines[0]) + blocks.capacity() * sizeof(blocks[0]);
}
