#include "mp3conv/win/converter_main.h"

// The conversion itself comes with the voice encoders; until then the program starts and ends.
int RunConverter(HINSTANCE, const char*) {
    return 0;
}
