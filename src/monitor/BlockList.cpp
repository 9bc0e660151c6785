#include "monitor/BlockList.h"

#include <utility>

#include "monitor/WildcardMatch.h"

CBlockList BlockList;

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

CBlockList& CBlockList::operator=(std::vector<std::string> replacement)
{
    patterns = std::move(replacement);
    Compile();
    return *this;
}

void CBlockList::Append(const std::vector<std::string>& more)
{
    patterns.insert(patterns.end(), more.begin(), more.end());
    Compile();
}

void CBlockList::Clear()
{
    patterns.clear();
    groups.clear();
}

void CBlockList::Compile()
{
    groups.clear();
    for (std::size_t first = 0; first < patterns.size(); first += kGroupSize) {
        // Like the matcher, the pre-test reads a pattern up to its first NUL.
        std::vector<std::string> literals;
        for (std::size_t i = first; i < patterns.size() && i < first + kGroupSize; ++i) {
            std::string literal;
            for (const char* p = patterns[i].c_str(); *p != 0; ++p) {
                if (*p != '*')
                    literal += *p;
            }
            literals.push_back(std::move(literal));
        }
        groups.emplace_back(literals);
    }
}

std::uint64_t CBlockList::GroupHits(std::size_t group, const char* url) const
{
    if (url == nullptr)
        url = "";
    // Stage 1 rules out nearly every pattern; only the rest see the matcher.
    std::uint64_t hits = groups[group].Find(url);
    for (std::size_t i = 0; i < kGroupSize && (hits >> i) != 0; ++i) {
        const std::uint64_t bit = std::uint64_t{1} << i;
        if ((hits & bit) && !WildcardMatch(url, patterns[group * kGroupSize + i].c_str()))
            hits &= ~bit;
    }
    return hits;
}
