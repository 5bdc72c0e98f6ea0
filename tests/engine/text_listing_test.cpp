// Listing every different text: the order, the choices each text took, texts that come out
// the same, the scripts refused, and the set that tells texts apart without holding them.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/script_file.h"
#include "engine/text_listing.h"
#include "golden_case.h"
#include "scripted_host.h"

namespace korvex::engine {
namespace {

struct Listed {
    std::vector<std::string> texts;
    std::vector<std::vector<std::uint32_t>> choices;
    bool complete = false;
};

ListingOptions withIncludes(const std::map<std::string, std::string>& files) {
    ListingOptions options;
    options.readInclude = [files](std::string_view path, std::size_t) {
        const auto at = files.find(std::string(path));
        return at == files.end() ? IncludedFile{}
                                 : IncludedFile{IncludedFile::Status::Read, at->second};
    };
    return options;
}

Listed listAll(const std::string& script, std::uint64_t maxTries = 1000,
               ListingOptions options = {}) {
    ScriptListing listing(script, std::move(options));
    EXPECT_FALSE(listing.refusal()) << *listing.refusal();
    testing::ScriptedHost host;
    DistinctTexts texts(listing, host, maxTries);
    Listed listed;
    while (texts.next()) {
        listed.texts.push_back(texts.text());
        listed.choices.push_back(texts.choice());
    }
    listed.complete = texts.complete();
    return listed;
}

TEST(TextListing, EveryCombinationInOrderTheLastChoiceFastest) {
    const std::string script = "\\v x = 1|2\r\n{a|b}\r\n\\^\\\r\n    c\r\n    d\r\n\\x\\\r\n";
    ScriptListing listing(script, {});
    ASSERT_FALSE(listing.refusal());
    const auto& points = listing.choicePoints();
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].kind, ChoicePoint::Kind::Block);
    EXPECT_EQ(points[0].number, 0u);
    EXPECT_EQ(points[1].number, 1u);
    EXPECT_EQ(points[2].kind, ChoicePoint::Kind::Variable);
    EXPECT_EQ(points[2].name, "x");
    EXPECT_EQ(listing.optionText(1, 1), "d");
    EXPECT_EQ(listing.optionText(2, 0), "1");
    EXPECT_EQ(listing.combinations().decimal(), "8");

    const Listed listed = listAll(script);
    EXPECT_EQ(listed.texts,
              (std::vector<std::string>{"ac1", "ac2", "ad1", "ad2", "bc1", "bc2", "bd1", "bd2"}));
    EXPECT_EQ(listed.choices[5], (std::vector<std::uint32_t>{1, 0, 1}));
    EXPECT_TRUE(listed.complete);
}

TEST(TextListing, EachDifferentTextOnce) {
    const struct {
        std::string script;
        std::vector<std::string> texts;
    } cases[] = {
        // Equal alternatives are one option, kept by the first of them.
        {"{a|a|b}", {"a", "b"}},
        // Different choices that give the same text: the first combination keeps it.
        {"{x|}\r\n\\^\\\r\n{|x}", {"x", "xx", ""}},
        {"\\v v = p|q\r\n{\\v\\|p}", {"p", "q"}},
        // Block references and markers are finished as a generation finishes them.
        {"{a|b}\\s\\\\i0\\", {"a a", "b b"}},
        {"no choice at all", {"no choice at all"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(listAll(c.script).texts, c.texts) << c.script;
    }
}

TEST(TextListing, StopsAfterTheTriesItWasGiven) {
    const Listed listed = listAll("{x|}\r\n\\^\\\r\n{|x}\r\n\\^\\\r\n{|x}", 3);
    EXPECT_EQ(listed.texts, (std::vector<std::string>{"x", "xx"}));
    EXPECT_FALSE(listed.complete);
}

TEST(TextListing, MessagesOfTheFirstTextOnlyAndIncludesRead) {
    ScriptListing listing("\\msg\\ hello\r\n{a|b}\r\n\\inc\\ tail.txt\r\n",
                          withIncludes({{"tail.txt", "end"}}));
    testing::ScriptedHost host;
    DistinctTexts texts(listing, host, 100);
    std::vector<std::string> all;
    while (texts.next()) {
        all.push_back(texts.text());
    }
    EXPECT_EQ(all, (std::vector<std::string>{"aend\r\n", "bend\r\n"}));
    EXPECT_EQ(host.messages, std::vector<std::string>{"hello"});
}

// Where a golden case names every text its script can give, the listing gives exactly those.
TEST(TextListing, ListsThePossibleTextsOfTheGoldenCases) {
    std::size_t compared = 0;
    for (const auto& c : testing::loadGoldenCases(KORVEX_GOLDEN_DIR)) {
        if (c.oneOf.empty()) {
            continue;
        }
        testing::CaseFolder folder(c);
        ListingOptions options;
        options.readInclude = includeReader(folder.path());
        ScriptListing listing(readTextFile(folder.path() / "Projects" / "script.ini").value(),
                              options);
        if (listing.refusal()) {
            continue;
        }
        testing::ScriptedHost host;
        DistinctTexts texts(listing, host, 10'000);
        std::set<std::string> listed;
        while (texts.next()) {
            EXPECT_TRUE(listed.insert(texts.text()).second) << c.name;
        }
        EXPECT_TRUE(texts.complete()) << c.name;
        EXPECT_EQ(listed, std::set<std::string>(c.oneOf.begin(), c.oneOf.end())) << c.name;
        ++compared;
    }
    EXPECT_GT(compared, 5u);
}

TEST(TextListing, RefusesWhatNoListCanRunThrough) {
    const std::string only = "; only blocks and variables with \"|\" can be listed";
    const struct {
        std::string script;
        std::string refusal;
    } cases[] = {
        {"x\r\n  \\rnd\\ 3", "line 2: \"\\rnd\\\" draws at random" + only},
        {"\\if\\ 0 = Other", "line 1: \"\\if\\\" jumps to another script" + only},
        {"{a|b}\r\n\\INP\\1_Name?_n", "line 2: \"\\inp\\\" asks a question" + only},
        {"{a|at \\date\\}", "line 1: \"\\date\\\" gives the date" + only},
        {"\\v t = \\time\\|x", "line 1: \"\\time\\\" gives the time" + only},
        {"\\inc\\ clock.txt",
         "line 1: in the file it includes, \"\\date\\\" gives the date" + only},
    };
    for (const auto& c : cases) {
        ScriptListing listing(c.script, withIncludes({{"clock.txt", "\\date\\"}}));
        EXPECT_EQ(listing.refusal().value_or(""), c.refusal) << c.script;
    }
    // Pieces that join into "\date\" only once put together are found as the text is made.
    ScriptListing joined("a\\da\r\nte\\ {b|c}", {});
    ASSERT_FALSE(joined.refusal());
    testing::ScriptedHost host;
    DistinctTexts texts(joined, host, 100);
    EXPECT_FALSE(texts.next());
    EXPECT_EQ(joined.refusal().value_or(""),
              "pieces of a text join into \"\\date\\\", which gives the date" + only);
}

TEST(TextSet, EqualHashesAreSettledByTheComparison) {
    TextSet set;
    std::vector<std::uint64_t> asked;
    auto differs = [&](std::uint64_t other) {
        asked.push_back(other);
        return false;
    };
    auto equals = [&](std::uint64_t other) {
        asked.push_back(other);
        return true;
    };
    EXPECT_TRUE(set.insert(7, 0, differs));
    EXPECT_TRUE(set.insert(8, 1, equals));  // another hash: never compared
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(set.insert(7, 2, differs));  // a collision of two different texts
    EXPECT_EQ(asked, std::vector<std::uint64_t>{0});
    EXPECT_FALSE(set.insert(7, 3, equals));
    EXPECT_EQ(set.size(), 3u);

    for (std::uint64_t i = 0; i < 1000; ++i) {
        set.insert(TextSet::hash(std::to_string(i)), 10 + i, differs);
    }
    EXPECT_EQ(set.size(), 1003u);
    EXPECT_LE(set.memoryBytes(), 64 * set.size());
}

}  // namespace
}  // namespace korvex::engine
