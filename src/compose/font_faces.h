// Which installed font faces the format bar's font-name box offers, and in what order: every
// TrueType face once, sorted by name without regard to case (the box sorts its entries too).
#pragma once

#include <cstddef>
#include <vector>

constexpr size_t kFaceNameSize = 32; // a face name of at most 31 characters, as the system keeps

struct FontFaceName {
    char text[kFaceNameSize];
};

// A face is offered when it is TrueType, has a name that fits, and is not the vertical variant
// of another face (those names start with '@').
bool FaceIsOffered(const char* face, bool trueType);

// Compares face names as the system matches them: without regard to case.
int CompareFaceNames(const char* a, const char* b);

// Adds an offered face to the sorted list unless it is there already (the system lists a face
// once per character set). Returns true when the face was added.
bool AddOfferedFace(std::vector<FontFaceName>& faces, const char* face, bool trueType);
