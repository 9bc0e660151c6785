#include "monitor/BlockList.h"

#include <cstring>

#include "monitor/WildcardMatch.h"

std::vector<std::string> BlockList;

namespace {

// Advertising and pop-up addresses. The generic rows catch any ad or casino
// host under .com or .net and pop-up pages; the others name known ad servers.
const char* const kBuiltInPatterns[] = {
    "*.doubleclick.net*",      //  1
    "*ad.*.com*",              //  2
    "*ads.*.com*",             //  3
    "*ad*.*.com*",             //  4
    "*ad.*.net*",              //  5
    "*ads.*.net*",             //  6
    "*ad*.*.net*",             //  7
    "*fastclick.net*",         //  8
    "*tribalfusion.com*",      //  9
    "*valueclick.com*",        // 10
    "*zedo.com*",              // 11
    "*247media*",              // 12
    "*casino*.com*",           // 13
    "*casino*.net*",           // 14
    "*ads.casinocity.com*",    // 15
    "*www.crazypopups.com*",   // 16
    "*/pop*.htm*",             // 17
    "*37.252.162.1*",          // 18
    "*adbrite.com*",           // 19
    "*adrevolver.com*",        // 20
    "*.hitbox.com*",           // 21
    "*intellitxt.com*",        // 22
    "*exitexchange.com*",      // 23
    "*specificpop.*",          // 24
    "*claria.com*",            // 25
    "*whenu.com*",             // 26
    "*ezula.com*",             // 27
    "*180searchassistant.com*",// 28
    "*/ad-server/*",           // 29
    "*zangocash.com*",         // 30
    "*7search.com*",           // 31
    "*entercasino.com*",       // 32
    "*baypops.com*",           // 33
    "*clicksor.com*",          // 34
    "*exoclick.com*",          // 35
    "*adpopserve.net*",        // 36
    "*FindYourCasino*",        // 37
};

} // namespace

void AppendBlockListPatterns(std::vector<std::string>& list)
{
    for (const char* pattern : kBuiltInPatterns)
        list.push_back(pattern);
}

bool PatternHits(const char* url, const std::string& pattern)
{
    if (url == nullptr)
        url = "";

    // Stage 1: a cheap, case-sensitive rejection. The pattern, like the
    // matcher reads it, ends at its first NUL.
    std::string literal;
    for (const char* p = pattern.c_str(); *p != 0; ++p) {
        if (*p != '*')
            literal += *p;
    }
    if (std::strstr(url, literal.c_str()) == nullptr)
        return false;

    // Stage 2: the wildcard match proper.
    return WildcardMatch(url, pattern);
}

std::vector<std::size_t> FindBlockListHits(const char* url, const std::vector<std::string>& list)
{
    std::vector<std::size_t> hits;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (PatternHits(url, list[i]))
            hits.push_back(i);
    }
    return hits;
}
