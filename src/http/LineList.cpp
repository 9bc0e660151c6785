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
    if (!text)
        text = "";
    const std::size_t size = std::strlen(text) + 1;
    if (size > room)
    {
        const std::size_t blockSize = size > kBlockSize ? size : kBlockSize;
        blocks.emplace_back(new char[blockSize]);
        blockBytes += blockSize;
        next = blocks.back().get();
        room = blockSize;
    }
    std::memcpy(next, text, size);
    lines.push_back(next);
    next += size;
    room -= size;
    return 1;
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
