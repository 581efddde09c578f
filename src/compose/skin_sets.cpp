#include "compose/skin_sets.h"

#include <cstdio>

#include "resources/skin_ids.h"

static_assert(kSkinSetCount == SKIN_SET_COUNT, "skin_ids.h and the set table disagree");
static_assert(kSkinSetMaxImages == SKIN_SET_MAX_IMAGES, "skin_ids.h and the set table disagree");

namespace {

constexpr SkinImageKind KindOf(int kind) {
    return kind == SKIN_KIND_ICON ? SkinImageKind::Icon : SkinImageKind::Bitmap;
}

} // namespace

#define KESTRO_SKIN_SET(NAME)                                                                      \
    {                                                                                              \
        SKIN_SET_FIRST_ID(SKIN_SET_##NAME), SKIN_##NAME##_COUNT, KindOf(SKIN_##NAME##_KIND),       \
            SKIN_##NAME##_CX, SKIN_##NAME##_CY                                                     \
    }

// In set order: the entry of set k is kSkinSets[k].
const SkinSetSpec kSkinSets[kSkinSetCount] = {
    KESTRO_SKIN_SET(SEND),      KESTRO_SKIN_SET(CANCEL),    KESTRO_SKIN_SET(ATTACH),
    KESTRO_SKIN_SET(VOICE),     KESTRO_SKIN_SET(VIDEO),     KESTRO_SKIN_SET(BOLD),
    KESTRO_SKIN_SET(ITALIC),    KESTRO_SKIN_SET(UNDERLINE), KESTRO_SKIN_SET(LOGO),
    KESTRO_SKIN_SET(TO),        KESTRO_SKIN_SET(CC),        KESTRO_SKIN_SET(BCC),
    KESTRO_SKIN_SET(REC_KEY),   KESTRO_SKIN_SET(STOP_KEY),  KESTRO_SKIN_SET(PLAY_KEY),
    KESTRO_SKIN_SET(PLAY_ANIM), KESTRO_SKIN_SET(REC_ANIM),  KESTRO_SKIN_SET(SUBJECT),
    KESTRO_SKIN_SET(FORMAT),    KESTRO_SKIN_SET(SOURCE),    KESTRO_SKIN_SET(CODEC),
    KESTRO_SKIN_SET(PICTURE),   KESTRO_SKIN_SET(RECORD),    KESTRO_SKIN_SET(STOP),
    KESTRO_SKIN_SET(ABOUT),     KESTRO_SKIN_SET(BANNER),    KESTRO_SKIN_SET(FROM),
    KESTRO_SKIN_SET(BIG_LOGO),
};

#undef KESTRO_SKIN_SET

int SkinResourceId(int set, int index) {
    if (set < 0 || set >= kSkinSetCount || index < 0 || index >= kSkinSets[set].count) {
        return -1;
    }
    return kSkinSets[set].firstId + index;
}

bool FormatSkinResourceName(int resourceId, char* name, size_t size) {
    if (size == 0) {
        return false;
    }
    const int written = std::snprintf(name, size, "#%d", resourceId);
    if (written < 0 || static_cast<size_t>(written) >= size) {
        name[0] = '\0';
        return false;
    }
    return true;
}
