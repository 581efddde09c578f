// The snapshot conversion: snapshot.bmp in the program directory, the frame the video window
// grabbed, compressed into a baseline JPEG file under the name the user chose.
#pragma once

inline constexpr char kSnapshotBmpName[] = "snapshot.bmp";
inline constexpr char kSnapshotProgramName[] = "cjpeg.exe"; // the name its messages carry
constexpr int kSnapshotPathSize = 1024;

// Converts programDirectory + "snapshot.bmp" into programDirectory + name (the directory ends
// with a separator). 0 when the JPEG file was written; -1 when a file cannot be opened or the
// BMP or the compression fails, after a message on the standard error stream. A file that could
// not be written completely is removed again.
int SnapshotToJpeg(const char* programDirectory, const char* name);
