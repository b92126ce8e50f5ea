#pragma once
// A cursor over a text held in memory, one line at a time. Lines end with
// LF, CR LF or a lone CR (files from old Macintosh programs), in any mix.

#include <cstddef>
#include <cstring>
#include <string_view>

namespace Mapobjects::Mif {

class TLineCursor {
public:
    explicit TLineCursor(std::string_view Text) : FText(Text) {}

    // The next line without its line end; false at the end of the text.
    bool Next(std::string_view& Line) {
        if (FPos >= FText.size()) return false;
        const char* Begin = FText.data() + FPos;
        const size_t Left = FText.size() - FPos;
        const void* Nl = std::memchr(Begin, '\n', Left);
        size_t Len = Nl ? static_cast<size_t>(static_cast<const char*>(Nl) - Begin) : Left;
        size_t Advance = Nl ? Len + 1 : Len;
        // A CR inside the segment ends the line early, unless it is the CR of
        // a CR LF pair.
        if (const size_t Cr = NextCr(); Cr < FPos + Len) {
            const size_t At = Cr - FPos;
            if (At + 1 < Len || !Nl) {
                Len = At;
                Advance = At + 1;
            } else {
                Len = At; // CR LF
            }
        }
        FPos += Advance;
        Line = std::string_view(Begin, Len);
        ++FLines;
        return true;
    }
    size_t Position() const { return FPos; }
    size_t Remaining() const { return FText.size() - FPos; }
    bool AtEnd() const { return FPos >= FText.size(); }
    // Lines read so far: the number of the last line read.
    int Lines() const { return FLines; }

    struct TMark {
        size_t Pos;
        int Lines;
    };
    TMark Mark() const { return {FPos, FLines}; }
    void Restore(TMark M) {
        FPos = M.Pos;
        FLines = M.Lines;
    }

private:
    // The first CR at or after the current position (the text's size when
    // there is none). Found once for a file without CRs, rather than looked
    // for on every line.
    size_t NextCr() {
        if (FPos < FCrFrom || FPos > FCrAt) {
            const void* Cr = std::memchr(FText.data() + FPos, '\r', FText.size() - FPos);
            FCrFrom = FPos;
            FCrAt = Cr ? static_cast<size_t>(static_cast<const char*>(Cr) - FText.data())
                       : FText.size();
        }
        return FCrAt;
    }

    std::string_view FText;
    size_t FCrFrom = 1, FCrAt = 0; // no CR known yet: the first call looks
    size_t FPos = 0;
    int FLines = 0;
};

} // namespace Mapobjects::Mif
