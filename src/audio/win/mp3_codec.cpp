#include "audio/win/mp3_codec.h"

#include "audio/win/mp3_codec_driver.h"
#include "base/win/program_directory.h"

int Mp3CodecPresent() {
    return Mp3CodecPresentIn(programDirectory);
}
