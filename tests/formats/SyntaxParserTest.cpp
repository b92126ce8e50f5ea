// The tokenizer under the MIF reader: tokens, offsets, kinds, packing, progress.
#include "formats/SyntaxParser.h"

#include "core/Progress.h"
#include "platform/SysUtils.h"
#include "support/TempFiles.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

using namespace Mapobjects;

namespace {

// "value@offset|value@offset|..." of the current tokens.
std::string Dump(const TSyntaxParser& P, bool Offsets = true) {
    std::string S;
    for (int I = 0; I < P.Count(); ++I) {
        if (I > 0) S += '|';
        S += P[I]->Value();
        if (Offsets) S += "@" + std::to_string(P[I]->Offset());
    }
    return S;
}

std::string Tokenize(TSyntaxParser& P, const std::string& Line, bool Plain = false) {
    P.Read(Line, 0, Plain, true);
    return Dump(P);
}

// The kind of each text read alone.
std::vector<TSyntaxItemKind> KindsOf(TSyntaxParser& P, std::initializer_list<const char*> Texts) {
    std::vector<TSyntaxItemKind> Kinds;
    for (const char* Text : Texts) {
        P.Read(Text, 0, false, true);
        EXPECT_EQ(P.Count(), 1) << Text;
        Kinds.push_back(P[0]->GetKind());
    }
    return Kinds;
}

// Records the global progress hooks and puts the previous ones back.
struct SyntaxParserProgress : ::testing::Test {
    std::vector<std::string> Log;
    int ThrowAt = -1;
    std::tuple<decltype(StartProgress), decltype(ShowProgress), decltype(StopProgress)> Saved{
        StartProgress, ShowProgress, StopProgress};

    void SetUp() override {
        StartProgress = [this](int Min, int Max, const std::string& Title) {
            Log.push_back(Platform::Format("start %d %d %s", Min, Max, Title));
        };
        ShowProgress = [this](int P) {
            if (P == ThrowAt) throw std::runtime_error("cancelled");
            Log.push_back(Platform::Format("show %d", P));
        };
        StopProgress = [this] { Log.push_back("stop"); };
    }
    void TearDown() override { std::tie(StartProgress, ShowProgress, StopProgress) = Saved; }
};

} // namespace

TEST(SyntaxParser, StringsQuotesAndPlainMode) {
    TSyntaxParser P;
    EXPECT_EQ(Tokenize(P, "Font (\"Arial, Bold\",1)"),
              "Font@0| @4|(@5|\"Arial, Bold\"@6|,@19|1@20|)@21");
    std::string Text; // written back as read
    P.Write(Text);
    EXPECT_EQ(Text, "Font (\"Arial, Bold\",1)");
    // No escape: a doubled quote closes one string and opens the next.
    EXPECT_EQ(Tokenize(P, "\"a\"\"b\""), "\"a\"@0|\"b\"@3");
    EXPECT_EQ(Tokenize(P, "X \"abc, d"), "X@0| @1|\"abc, d@2");
    EXPECT_EQ(Tokenize(P, "ab\"c d\""), "ab@0|\"c d\"@2");

    // Plain: quote and mark are ordinary characters (both are default delimiters).
    EXPECT_EQ(Tokenize(P, "\"a b\" 'c", true), "\"@0|a@1| @2|b@3|\"@4| @5|'@6|c@7");
    P.SetDelimiters(CharSet(" "));
    EXPECT_EQ(Tokenize(P, "x\"y 'z", true), "x\"y@0| @3|'z@4");
}

TEST(SyntaxParser, GetKind) {
    TSyntaxParser P;
    EXPECT_EQ(
        KindsOf(P, {"12", "1e3", "12a", "\"12\"", ";", " "}),
        (std::vector{sikNumber, sikNumber, sikIdentifier, sikString, sikDelimiter, sikWhiteSpace}));

    Platform::TStrings Words;
    Words.Add("Region");
    Words.Add("7");
    P.SetReservedWords(Words);
    Words.Add("Pline"); // the parser keeps its own copy
    EXPECT_EQ(KindsOf(P, {"REGION", "region", "Pline", "7"}),
              (std::vector{sikReservedWord, sikReservedWord, sikIdentifier, sikReservedWord}));

    // Kinds follow the settings of the moment, not those of the read.
    P.Read("#x ;", 0, false, true);
    P.SetCommentsFlag("#x");
    EXPECT_EQ(P[0]->GetKind(), sikComment);
    P.SetDelimiters(CharSet(" "));
    EXPECT_EQ(P[2]->GetKind(), sikIdentifier);
    P.SetQuote(';');
    EXPECT_EQ(P[2]->GetKind(), sikString);
    // A mark longer than one character never starts a comment while reading.
    EXPECT_EQ(Tokenize(P, "a #x"), "a@0| @1|#x@2");
}

TEST_F(SyntaxParserProgress, ReadFromStringsNumbersLinesAndReportsPackWithTheShrinkingCount) {
    TSyntaxParser P;
    P.Read("stale", 0, false, true);
    Platform::TStrings Lines;
    Lines.SetText("Version 300\r\n\r\nData\n");
    P.ReadFromStrings(Lines);
    EXPECT_EQ(Dump(P, false), "Version| |300|Data");
    EXPECT_EQ(P[3]->Line(), 2);
    EXPECT_EQ(Log, (std::vector<std::string>{"start 0 2 Reading source", "show 0", "show 1",
                                             "show 2", "stop"}));

    // Pack reports with the shrinking count.
    Log.clear();
    P.Read("a b ", 0, false, true);
    P.Pack();
    EXPECT_EQ(Dump(P, false), "a|b");
    EXPECT_EQ(Log, (std::vector<std::string>{"start 0 3 Packing Data", "show 0", "show 0", "show 1",
                                             "show 1", "stop"}));
}

TEST_F(SyntaxParserProgress, StopIsReportedWhenAnExceptionPasses) {
    TSyntaxParser P;
    Platform::TStrings Lines;
    Lines.SetText("a\nb\nc");
    ThrowAt = 1;
    EXPECT_THROW(P.ReadFromStrings(Lines), std::runtime_error);
    EXPECT_EQ(Dump(P, false), "a");
    EXPECT_EQ(Log.back(), "stop");

    // Pack keeps what it had already dropped and leaves a consistent list.
    Log.clear();
    ThrowAt = 2;
    P.Read("x y z", 0, false, true);
    EXPECT_THROW(P.Pack(), std::runtime_error);
    EXPECT_EQ(Log.back(), "stop");
    EXPECT_EQ(Dump(P, false), "x| |y|z");
    EXPECT_EQ(P[3]->Index(), 3);
}

TEST(SyntaxParser, ReadFromFile) {
    TSyntaxParser P;
    EXPECT_THROW(P.ReadFromFile("/nonexistent/dir/none.mif"), Platform::EFOpenError);
    Testing::TTempDir Dir;
    Testing::WriteFile(Dir.Path("a.mif"), "Columns 1\r\n  Name Char(10)\r\nData\r\n");
    P.ReadFromFile(Dir.Path("a.mif"));
    P.Pack();
    EXPECT_EQ(Dump(P), "Columns@0|1@8|Name@2|Char@7|(@11|10@12|)@14|Data@0");
    EXPECT_EQ(P[7]->Line(), 2);
}
