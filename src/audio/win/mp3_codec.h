// Whether voice can be compressed to MP3 on this machine.
#pragma once

// 1 when kto2mp3.exe (which carries its own encoder) is in the program directory, or an MPEG
// Layer-3 codec file is installed.
int Mp3CodecPresent();
