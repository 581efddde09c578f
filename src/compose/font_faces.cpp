#include "compose/font_faces.h"

#include <algorithm>
#include <cstring>

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool FaceIsOffered(const char* face, bool trueType) {
    if (!trueType || !face || face[0] == '\0' || face[0] == '@') {
        return false;
    }
    return std::strlen(face) < kFaceNameSize;
}

int CompareFaceNames(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const unsigned char x = static_cast<unsigned char>(LowerAscii(*a));
        const unsigned char y = static_cast<unsigned char>(LowerAscii(*b));
        if (x != y || x == 0) {
            return x < y ? -1 : (x > y ? 1 : 0);
        }
    }
}

bool AddOfferedFace(std::vector<FontFaceName>& faces, const char* face, bool trueType) {
    if (!FaceIsOffered(face, trueType)) {
        return false;
    }
    auto place = std::lower_bound(faces.begin(), faces.end(), face,
                                  [](const FontFaceName& entry, const char* name) {
                                      return CompareFaceNames(entry.text, name) < 0;
                                  });
    if (place != faces.end() && CompareFaceNames(place->text, face) == 0) {
        return false;
    }
    FontFaceName entry = {};
    std::memcpy(entry.text, face, std::strlen(face) + 1);
    faces.insert(place, entry);
    return true;
}
