// Random and truncated texts fed to the JSON reader: it must neither crash
// nor hang, and the tree it builds never grows beyond the text it was given.

#include "sync/jsonnode.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Counts the nodes reachable from the root without recursion.
size_t CountNodes(const TJsonNode& Root)
{
    size_t Count = 0;
    std::vector<const TJsonNode*> Stack{&Root};
    while (!Stack.empty()) {
        const TJsonNode* Node = Stack.back();
        Stack.pop_back();
        ++Count;
        if (Node->ListItems())
            for (const TJsonNode* Item : *Node->ListItems())
                Stack.push_back(Item);
        if (Node->Items())
            for (const QString& Key : Node->Items()->Keys())
                Stack.push_back(Node->Items()->Find(Key));
    }
    return Count;
}

// Parses and reads everything back; errors of the reader are allowed.
void Exercise(const QString& Text)
{
    try {
        auto Root = TJsonNode::Parse(Text);
        if (!Root)
            return;
        EXPECT_LE(CountNodes(*Root), static_cast<size_t>(Text.size()) + 1);
        std::vector<const TJsonNode*> Stack{Root.get()};
        while (!Stack.empty()) {
            const TJsonNode* Node = Stack.back();
            Stack.pop_back();
            (void)Node->AsString();
            try {
                (void)Node->AsInt64();
            } catch (const Exception&) {
            }
            if (Node->ListItems())
                for (const TJsonNode* Item : *Node->ListItems())
                    Stack.push_back(Item);
        }
    } catch (const Exception&) {
    }
}

const char* const Samples[] = {
    R"({"message_type": "vrk_club", "message_id": "77", "hasMore": "false", "vrk_club": [{"replication_id": "501", "repl_type": "U", "club_id": "100000017", "event_series_id": "7", "club_name": "OK \"Testi\" \\ Ä\u00e4", "inserted": "2024-06-01T18:00:00", "updated": "2024-06-01T18:05:00"}]})",
    R"({"result": "{\"processed\": [{\"client_message_id\": \"5012\"}], \"errors\": [{\"client_message_id\": \"5013\", \"error_message\": \"unknown person\", \"request_data\": \"VRK_PERSON\", \"request_data_id\": \"100000042\"}]}"})",
    R"([1, -2.5e10, true, false, null, "", [], {}, [[[{"a": [{"b": null}]}]]]])",
};

}  // namespace

TEST(JsonFuzz, EveryTruncationOfRealReplies)
{
    for (const char* Sample : Samples) {
        const QString Full = QString::fromUtf8(Sample);
        for (qsizetype Len = 0; Len <= Full.size(); ++Len) {
            Exercise(Full.left(Len));
            Exercise(Full.mid(Len));
        }
    }
}

TEST(JsonFuzz, RandomTexts)
{
    std::mt19937 Random(20261210);
    const QString Alphabet = QStringLiteral("{}[]:,\"\\ \t\r\nabnrtu0123456789-.eEfl:ÄöQ/");
    std::uniform_int_distribution<int> Pick(0, static_cast<int>(Alphabet.size()) - 1);
    std::uniform_int_distribution<int> Length(0, 400);
    for (int Round = 0; Round < 20000; ++Round) {
        const int Len = Length(Random);
        QString Text;
        Text.reserve(Len);
        for (int K = 0; K < Len; ++K)
            Text.append(Alphabet.at(Pick(Random)));
        Exercise(Text);
    }
}

TEST(JsonFuzz, MutatedRealReplies)
{
    std::mt19937 Random(7);
    const QString Noise = QStringLiteral("{}[]:,\"\\ x");
    for (int Round = 0; Round < 5000; ++Round) {
        QString Text = QString::fromUtf8(Samples[Round % 3]);
        std::uniform_int_distribution<qsizetype> Where(0, Text.size() - 1);
        std::uniform_int_distribution<int> What(0, static_cast<int>(Noise.size()) - 1);
        for (int K = 0; K < 4; ++K) {
            const qsizetype At = Where(Random);
            switch (K % 3) {
            case 0: Text[At] = Noise.at(What(Random)); break;
            case 1: Text.insert(At, Noise.at(What(Random))); break;
            default: Text.remove(At, 1); break;
            }
        }
        Exercise(Text);
    }
}
