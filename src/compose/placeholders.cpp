#include "compose/placeholders.h"

const char* PlaceholderForField(int editId) {
    switch (editId) {
    case 1071:
        return kToPlaceholder;
    case 1072:
        return kCcPlaceholder;
    case 1073:
        return kBccPlaceholder;
    case 1074:
        return kSubjectPlaceholder;
    default:
        return nullptr;
    }
}
