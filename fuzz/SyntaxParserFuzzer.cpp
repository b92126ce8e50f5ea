// The tokenizer: settings from the first three bytes, text from the rest.
// Besides the sanitizers, the harness checks what every token list must
// satisfy: tokens are the pieces of their lines at their offsets, in order,
// and without skipping nothing of a line is lost.
#include "FuzzSupport.h"

#include "formats/SyntaxParser.h"
#include "platform/Classes.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace Mapobjects;

namespace {

void Check(bool Condition, const char* What) {
    if (Condition) return;
    std::fprintf(stderr, "syntax parser: %s\n", What);
    std::abort();
}

// The bytes of a line as a token shows them: tabs read as blanks.
bool SameText(std::string_view Line, int Offset, const std::string& Value) {
    if (Offset < 0 || static_cast<size_t>(Offset) + Value.size() > Line.size()) return false;
    std::string_view Piece = Line.substr(static_cast<size_t>(Offset), Value.size());
    if (Value == " " && Piece == "\t") return true;
    return Piece == Value;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv) {
    Fuzz::StartQt(Argc, Argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size < 3) return 0;
    const std::uint8_t Flags = Data[0];
    TSyntaxParser P;
    P.SetQuote(static_cast<char>(Data[1]));
    if (Flags & 0x01) {
        // As the MIF reader sets it up: signed and decimal numbers stay whole.
        TDelimiters D = P.Delimiters();
        for (char C : {'+', '-', '.'})
            D.reset(static_cast<unsigned char>(C));
        P.SetDelimiters(D);
    }
    const bool Skipping = Flags & 0x02;
    if (Skipping) P.SetSkipChars(CharSet(" (),"));
    const bool SkipComments = Flags & 0x04;
    if (SkipComments) P.SetSkipKinds({sikComment});
    if (Flags & 0x08) {
        Platform::TStrings Words;
        for (const char* W : {"Pen", "BRUSH", "symbol", "12"})
            Words.Add(W);
        P.SetReservedWords(Words);
    }
    const char CommentChar = static_cast<char>(Data[2]);
    if (Flags & 0x10)
        P.SetCommentsFlag(std::string(2, CommentChar)); // never matches while reading
    else if (Flags & 0x20)
        P.SetCommentsFlag("");
    else
        P.SetCommentsFlag(std::string(1, CommentChar));
    const bool PlainOdd = Flags & 0x40;
    const bool FromStrings = Flags & 0x80;

    const std::string_view Text = Fuzz::AsText(Data + 3, Size - 3);
    std::vector<std::string> Lines;
    if (FromStrings) {
        Platform::TStrings S;
        S.SetText(Text);
        for (int I = 0; I < S.Count(); ++I)
            Lines.push_back(S[I]);
        P.ReadFromStrings(S);
    } else {
        size_t Start = 0;
        for (;;) {
            const size_t End = Text.find('\n', Start);
            Lines.emplace_back(
                Text.substr(Start, End == std::string_view::npos ? End : End - Start));
            if (End == std::string_view::npos) break;
            Start = End + 1;
        }
        for (size_t I = 0; I < Lines.size(); ++I)
            P.Read(Lines[I], static_cast<int>(I), PlainOdd && I % 2 == 1, I == 0);
    }

    // Tokens are pieces of their lines, in order and without overlap.
    int LastLine = -1, NextFree = 0;
    for (int I = 0; I < P.Count(); ++I) {
        const TSyntaxItem* T = P[I];
        Check(T->Length() > 0, "empty token");
        Check(T->Line() >= 0 && static_cast<size_t>(T->Line()) < Lines.size(), "line out of range");
        Check(T->Line() >= LastLine, "lines out of order");
        if (T->Line() != LastLine) NextFree = 0;
        LastLine = T->Line();
        Check(T->Offset() >= NextFree, "tokens overlap or go back");
        Check(SameText(Lines[static_cast<size_t>(T->Line())], T->Offset(), T->Value()),
              "token is not the text at its offset");
        NextFree = T->Offset() + T->Length();
        T->GetKind();
        Check(P.ItemFromOffset(T->Offset()) != nullptr, "no token at a token's offset");
    }
    if (!Skipping && !SkipComments) {
        // A lone tab token reads as a blank, tabs inside longer tokens stay.
        std::string Joined, Expected;
        P.Write(Joined);
        for (const std::string& L : Lines)
            Expected += L;
        std::replace(Joined.begin(), Joined.end(), '\t', ' ');
        std::replace(Expected.begin(), Expected.end(), '\t', ' ');
        Check(Joined == Expected, "tokens do not add up to the text");
    }
    Check(!P.ValidIndex(0) && P.ValidIndex(P.Count() - 1) == (P.Count() >= 2), "ValidIndex");

    P.Pack();
    for (int I = 0; I < P.Count(); ++I) {
        const TSyntaxItemKind K = P[I]->GetKind();
        Check(K != sikWhiteSpace && K != sikComment, "Pack left a blank or a comment");
    }
    return 0;
}
