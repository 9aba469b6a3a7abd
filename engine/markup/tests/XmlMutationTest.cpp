// Many thousands of mutated copies of skin-like files: the parser must fail or succeed, never
// crash or read outside its buffer (the native sanitizer build checks the reads). Every
// successful parse is walked completely, as the skin builder would.
#include "markup/XmlDocument.h"

#include "MarkupTestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

using namespace Lomar;

namespace {

// Small deterministic generator, so that a failure can be replayed.
struct Rng
{
    uint64_t state;
    uint32_t next()
    {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(state >> 33);
    }
    uint32_t below(uint32_t n) { return n ? next() % n : 0; }
};

const char kInteresting[] = "<>/=\"'&;!?- \t\n\r:_\x00\xEF\xBB\xBF\xC3\xE5";

void mutate(std::vector<unsigned char>& b, Rng& rng)
{
    int steps = 1 + static_cast<int>(rng.below(6));
    for (int s = 0; s < steps; ++s)
    {
        uint32_t at = rng.below(static_cast<uint32_t>(b.size()) + 1);
        switch (rng.below(6))
        {
        case 0:   // replace one byte by an interesting one
            if (at < b.size())
                b[at] = static_cast<unsigned char>(kInteresting[rng.below(sizeof(kInteresting) - 1)]);
            break;
        case 1:   // insert one
            b.insert(b.begin() + at, static_cast<unsigned char>(kInteresting[rng.below(sizeof(kInteresting) - 1)]));
            break;
        case 2:   // delete a range
        {
            uint32_t n = rng.below(16);
            if (at + n <= b.size())
                b.erase(b.begin() + at, b.begin() + at + n);
            break;
        }
        case 3:   // duplicate a range elsewhere
        {
            uint32_t n = rng.below(64);
            uint32_t from = rng.below(static_cast<uint32_t>(b.size()) + 1);
            if (from + n <= b.size() && b.size() < 100000)
            {
                std::vector<unsigned char> piece(b.begin() + from, b.begin() + from + n);
                b.insert(b.begin() + at, piece.begin(), piece.end());
            }
            break;
        }
        case 4:   // cut the file short
            b.resize(at);
            break;
        default:  // flip a bit
            if (at < b.size())
                b[at] ^= static_cast<unsigned char>(1u << rng.below(8));
            break;
        }
    }
}

// Walks the whole tree; returns the number of elements met.
int walk(CXmlNode node, int depth)
{
    int count = 0;
    for (; node.is_valid(); node = node.next_sibling())
    {
        ++count;
        EXPECT_NE(node.name(), nullptr);
        size_t length = std::wcslen(node.name()) + std::wcslen(node.value());
        int attributes = node.attribute_count();
        EXPECT_LE(attributes, CXmlNode::kMaxAttributes);
        for (int i = 0; i < attributes; ++i)
            length += std::wcslen(node.attribute_name(i)) + std::wcslen(node.attribute_value(i));
        wchar_t buffer[8] = {0};
        node.attribute_value(L"name", buffer, 8);
        EXPECT_LT(std::wcslen(buffer), 8u);
        EXPECT_LT(length, 1000000u);
        if (depth < CXmlDocument::kMaxDepth + 2)
            count += walk(node.first_child(), depth + 1);
    }
    return count;
}

} // namespace

// The seed files listed by the fixture script: skin-like files, and the installer's own skins.
std::vector<std::vector<unsigned char>> read_seeds()
{
    std::vector<std::vector<unsigned char>> seeds;
    std::vector<unsigned char> list = markuptest::read_file(markuptest::fixture("skins/seeds.txt"));
    std::string name;
    for (unsigned char c : list)
    {
        if (c != '\n')
        {
            name += static_cast<char>(c);
            continue;
        }
        seeds.push_back(markuptest::read_file(markuptest::fixture("skins/" + name)));
        EXPECT_FALSE(seeds.back().empty()) << name;
        name.clear();
    }
    return seeds;
}

TEST(XmlMutation, EverySeedParses)
{
    std::vector<std::vector<unsigned char>> seeds = read_seeds();
    ASSERT_GE(seeds.size(), 4u);
    for (size_t i = 0; i < seeds.size(); ++i)
    {
        CXmlDocument doc;
        ASSERT_TRUE(doc.load_from_memory(seeds[i].data(), static_cast<uint32_t>(seeds[i].size())))
            << "seed " << i << ": " << std::wstring(doc.error_message()).size();
        EXPECT_GT(walk(doc.root(), 0), 1);
    }
}

TEST(XmlMutation, MutatedSkinsNeverBreakTheParser)
{
    std::vector<std::vector<unsigned char>> seeds = read_seeds();
    ASSERT_GE(seeds.size(), 4u);
    Rng rng{20240611};
    int parsed = 0, failed = 0;
    const int rounds = 50000;
    for (int round = 0; round < rounds; ++round)
    {
        std::vector<unsigned char> bytes = seeds[round % seeds.size()];
        mutate(bytes, rng);
        CXmlDocument doc;
        bool ok = doc.load_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()));
        if (ok)
        {
            ++parsed;
            int elements = walk(doc.root(), 0);
            int opens = 0;
            for (unsigned char c : bytes)
                opens += c == '<';
            EXPECT_LE(elements, opens) << "round " << round;
        }
        else
        {
            ++failed;
            EXPECT_NE(doc.error_message()[0], 0) << "round " << round;
            EXPECT_FALSE(doc.root().is_valid());
        }
        if (testing::Test::HasFailure())
            break;
    }
    // The mutations must reach both outcomes, or they test nothing.
    EXPECT_GT(parsed, rounds / 20);
    EXPECT_GT(failed, rounds / 20);
}
