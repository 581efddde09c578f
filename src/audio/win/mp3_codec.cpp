#include "audio/win/mp3_codec.h"

#include "app/win/app_state.h"
#include "audio/win/mp3_codec_driver.h"

int Mp3CodecPresent() {
    return Mp3CodecPresentIn(programDirectory);
}
