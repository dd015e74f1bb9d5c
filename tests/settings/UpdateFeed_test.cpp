// The update feed without the network: versions compared by the feed's
// weighting, the reply collected across blocks and bounded, the JSON read
// and its log turned into the program's code page.
#include <gtest/gtest.h>

#include "settings/UpdateFeed.h"

#include <string>

namespace {

TEST(CompareVersion, NewerOlderEqualAndNotComparable)
{
    EXPECT_EQ(1, CompareVersionWith("1.2.0.16", "1.2.0.15"));
    EXPECT_EQ(0, CompareVersionWith("1.2.0.15", "1.2.0.15"));
    // 1199 against 1200: the weighting, not the text, decides.
    EXPECT_EQ(2, CompareVersionWith("1.1.9.9", "1.2.0.0"));
    EXPECT_EQ(1, CompareVersionWith("2.0.0.0", "1.9.9.9"));
    // The feed's weighting makes these one value.
    EXPECT_EQ(0, CompareVersionWith("1.2.10.0", "1.3.0.0"));

    // Three or five fields, empty or non-digit fields: no offer either way.
    for (const char* bad : {"1.2.3", "1.2.3.4.5", "1..2.3", "1.2.3.", "1.2.3.4b", "v1.2.3.4", "",
                            "1.2.-3.4", " 1.2.3.4"}) {
        EXPECT_EQ(0, CompareVersionWith(bad, "0.0.0.1")) << bad;
        EXPECT_EQ(0, CompareVersionWith("0.0.0.1", bad)) << bad;
    }
}

TEST(CompareVersion, FieldsOfFifteenDigitsCountAndSixteenDoNot)
{
    const std::string fifteen(15, '9');
    const std::string sixteen(16, '9');
    EXPECT_EQ(1, CompareVersionWith("1.0.0." + fifteen, "9.9.9.9"));
    // No wrap-around makes a huge field look old.
    EXPECT_EQ(1, CompareVersionWith(fifteen + ".0.0.0", "1.0.0.0"));
    EXPECT_EQ(0, CompareVersionWith("1.0.0." + sixteen, "0.0.0.1"));
    EXPECT_EQ(0, CompareVersionWith(sixteen + ".0.0.0", "0.0.0.1"));
}

// Feeds the reply to the write callback in blocks of `block` bytes, as the
// HTTP client would; the bytes the callback accepted in all.
size_t Deliver(FeedReply* reply, const std::string& body, size_t block)
{
    size_t taken = 0;
    for (size_t at = 0; at < body.size(); at += block) {
        std::string part = body.substr(at, block);
        size_t n = OnUpdateFeedData(&part[0], 1, part.size(), reply);
        taken += n;
        if (n != part.size()) break;
    }
    return taken;
}

TEST(UpdateFeed, AReplyInManyBlocksIsReadAsAWholeWithItsChineseLog)
{
    // "1. 修复录制声音\n2. 新增水印" in UTF-8, cut inside its characters.
    const std::string body =
        "{\"version\": \"3.1.0.2\", \"note\": [1, 2],\n"
        " \"log\": \"1. \xE4\xBF\xAE\xE5\xA4\x8D\xE5\xBD\x95\xE5\x88\xB6\xE5\xA3\xB0\xE9\x9F\xB3"
        "\\n2. \xE6\x96\xB0\xE5\xA2\x9E\xE6\xB0\xB4\xE5\x8D\xB0\"}";
    FeedReply reply;
    ASSERT_EQ(body.size(), Deliver(&reply, body, 7));
    UpdateInfo info;
    ASSERT_TRUE(ParseUpdateFeed(reply.text(), &info));
    EXPECT_EQ("3.1.0.2", info.version);
    EXPECT_EQ("1. 修复录制声音\n2. 新增水印", info.log);  // GBK, as this file's literals
}

TEST(UpdateFeed, AReplyPastTheLimitIsRefusedAsAWhole)
{
    std::string body = "{\"version\": \"9.0.0.0\", \"log\": \"" +
                       std::string(FeedReply::kMaxBytes, 'x') + "\"}";
    FeedReply reply;
    size_t taken = Deliver(&reply, body, 16 * 1024);
    EXPECT_LT(taken, body.size()) << "the client is told to stop";
    EXPECT_TRUE(reply.tooLarge());
    EXPECT_TRUE(reply.text().empty());
    // What comes after the refusal is refused too.
    char more[] = "}";
    EXPECT_EQ(0u, OnUpdateFeedData(more, 1, 1, &reply));

    // Exactly the limit is still a reply.
    FeedReply full;
    std::string exact(FeedReply::kMaxBytes, ' ');
    EXPECT_EQ(exact.size(), Deliver(&full, exact, 4096));
    EXPECT_FALSE(full.tooLarge());
}

TEST(UpdateFeed, WhatIsNotTheFeedLeavesTheOfferAlone)
{
    UpdateInfo info{"old log", "1.0.0.0"};
    for (const char* bad : {"", "<html>404</html>", "{\"version\": \"2.0.0.0\"", "[\"2.0.0.0\"]",
                            "{\"log\": \"no version\"}", "{\"version\": 2000, \"log\": \"\"}",
                            "{\"version\": \"2.0.0.0\", \"log\": {\"a\": 1}}",
                            "{\"version\": \"2.0.0.0\"} trailing"}) {
        EXPECT_FALSE(ParseUpdateFeed(bad, &info)) << bad;
        EXPECT_EQ("1.0.0.0", info.version) << bad;
        EXPECT_EQ("old log", info.log) << bad;
    }
    // Nesting deep enough to make the reader give up is refused, not thrown.
    EXPECT_FALSE(ParseUpdateFeed(std::string(5000, '[') + std::string(5000, ']'), &info));

    // A byte-order mark and a missing log are still the feed.
    ASSERT_TRUE(ParseUpdateFeed("\xEF\xBB\xBF{\"version\": \"2.0.0.0\"}", &info));
    EXPECT_EQ("2.0.0.0", info.version);
    EXPECT_EQ("", info.log);
}

}  // namespace
