#include "MifKinds.h"

#include "mitab.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <strings.h>

namespace Mitab {

namespace {

// The first word of a line and what follows it.
std::string FirstWord(const std::string& Line, std::string* Rest = nullptr) {
    size_t B = 0;
    while (B < Line.size() && std::isspace(static_cast<unsigned char>(Line[B])))
        ++B;
    size_t E = B;
    while (E < Line.size() && !std::isspace(static_cast<unsigned char>(Line[E])))
        ++E;
    if (Rest) *Rest = Line.substr(E);
    return Line.substr(B, E - B);
}

// The class of a statement word; -1 for a word that starts no object.
int ClassOfWord(const std::string& W) {
    static constexpr std::pair<const char*, int> Words[] = {
        {"point", TABFC_Point},
        {"line", TABFC_Polyline},
        {"pline", TABFC_Polyline},
        {"region", TABFC_Region},
        {"arc", TABFC_Arc},
        {"text", TABFC_Text},
        {"rect", TABFC_Rectangle},
        {"roundrect", TABFC_Rectangle},
        {"ellipse", TABFC_Ellipse},
        {"multipoint", TABFC_MultiPoint},
        {"collection", TABFC_Collection},
        {"none", TABFC_NoGeom},
    };
    for (auto [Word, Class] : Words)
        if (strcasecmp(W.c_str(), Word) == 0) return Class;
    return -1;
}

} // namespace

std::vector<int> MifStatementClasses(const std::string& FileName) {
    std::ifstream In(FileName);
    std::string Line;
    bool Data = false;
    while (!Data && std::getline(In, Line)) {
        std::string Rest;
        Data = strcasecmp(FirstWord(Line, &Rest).c_str(), "data") == 0 && FirstWord(Rest).empty();
    }
    std::vector<int> Classes;
    long Parts = 0; // parts of a collection still to come
    while (Data && std::getline(In, Line)) {
        std::string Rest;
        const int Class = ClassOfWord(FirstWord(Line, &Rest));
        if (Class < 0) continue;
        if (Parts > 0 &&
            (Class == TABFC_Region || Class == TABFC_Polyline || Class == TABFC_MultiPoint)) {
            --Parts;
            continue;
        }
        Parts = 0;
        Classes.push_back(Class);
        if (Class == TABFC_Collection) {
            const std::string N = FirstWord(Rest);
            if (std::from_chars(N.data(), N.data() + N.size(), Parts).ec != std::errc()) Parts = 0;
        }
    }
    return Classes;
}

bool SameShape(int OgrClass, int StatementClass) {
    switch (StatementClass) {
    case TABFC_Point:
        return OgrClass == TABFC_Point || OgrClass == TABFC_FontPoint ||
               OgrClass == TABFC_CustomPoint;
    case TABFC_Arc:
        return OgrClass == TABFC_Polyline;
    case TABFC_Rectangle:
    case TABFC_Ellipse:
        return OgrClass == TABFC_Region;
    default:
        return OgrClass == StatementClass;
    }
}

int RefinedClass(int OgrClass, int StatementClass) {
    if (OgrClass == TABFC_Polyline && StatementClass == TABFC_Arc) return TABFC_Arc;
    if (OgrClass == TABFC_Region &&
        (StatementClass == TABFC_Rectangle || StatementClass == TABFC_Ellipse))
        return StatementClass;
    return OgrClass;
}

} // namespace Mitab
