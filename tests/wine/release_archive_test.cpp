// The Windows release archive (scripts/dist.sh) as a user receives it: unzipped into a fresh
// folder, Kestro starts from there and keeps its settings there, and kto2mp3.exe converts with
// the LAME DLL beside it. The archive is named by KESTRO_RELEASE_ZIP (a Windows path), which
// scripts/test.sh sets after writing it; by hand, after scripts/dist.sh, set it to
// Z:<root>\build\dist\Kestro-<version>-win64.zip and run --gtest_filter='ReleaseArchive.*'.
#include <windows.h>

#include <minizip/unzip.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../unit/mp3conv/mp3_frames.h"
#include "../unit/support/test_bytes.h"
#include "support/harness.h"
#include "support/voice_recording.h"

namespace {

// Unpacks every file of the archive under `folder`, making its folders; returns the names
// stored in the archive, in their order.
std::vector<std::string> Unzip(const std::string& zip, const std::string& folder) {
    std::vector<std::string> names;
    unzFile archive = unzOpen64(zip.c_str());
    if (archive == nullptr) {
        ADD_FAILURE() << "cannot open " << zip;
        return names;
    }
    for (int status = unzGoToFirstFile(archive); status == UNZ_OK;
         status = unzGoToNextFile(archive)) {
        char name[MAX_PATH] = {};
        unz_file_info64 info = {};
        unzGetCurrentFileInfo64(archive, &info, name, sizeof name, nullptr, 0, nullptr, 0);
        names.push_back(name);
        std::string path = folder + name;
        for (char& c : path) {
            c = c == '/' ? '\\' : c;
        }
        for (size_t slash = path.find('\\', folder.size()); slash != std::string::npos;
             slash = path.find('\\', slash + 1)) {
            CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
        }
        if (path.back() == '\\') {
            continue;
        }
        std::string bytes(static_cast<size_t>(info.uncompressed_size), '\0');
        EXPECT_EQ(unzOpenCurrentFile(archive), UNZ_OK) << name;
        const int read =
            unzReadCurrentFile(archive, bytes.data(), static_cast<unsigned>(bytes.size()));
        EXPECT_EQ(read, static_cast<int>(bytes.size())) << name;
        EXPECT_EQ(unzCloseCurrentFile(archive), UNZ_OK) << name << ": checksum";
        WriteWholeFile(path, bytes);
    }
    unzClose(archive);
    return names;
}

std::string ProductVersionOf(const std::string& program) {
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(program.c_str(), &ignored));
    char* text = nullptr;
    UINT length = 0;
    if (block.empty() ||
        !GetFileVersionInfoA(program.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !VerQueryValueA(block.data(), "\\StringFileInfo\\040904B0\\ProductVersion",
                        reinterpret_cast<void**>(&text), &length)) {
        return "";
    }
    return std::string(text, length > 0 ? length - 1 : 0);
}

std::string ManifestOf(const std::string& program) {
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        return "";
    }
    std::string manifest;
    if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
        manifest.assign(bytes, SizeofResource(module, found));
    }
    FreeLibrary(module);
    return manifest;
}

// Starts a program of the folder with the folder as working directory, as Explorer does.
PROCESS_INFORMATION StartIn(const std::string& folder, const char* program, std::string arguments) {
    std::string commandLine = "\"" + folder + program + "\"" + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA((folder + program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, folder.c_str(), &startup, &process)) {
        process = PROCESS_INFORMATION{};
    }
    return process;
}

// The exit code; the last error of CreateProcess when the program did not start at all.
DWORD WaitAndClose(PROCESS_INFORMATION& process) {
    DWORD code = 12345;
    if (process.hProcess == nullptr) {
        return GetLastError();
    }
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the program did not end";
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

class ReleaseArchive : public testing::Test {
  protected:
    void SetUp() override {
        char zip[MAX_PATH] = {};
        GetEnvironmentVariableA("KESTRO_RELEASE_ZIP", zip, sizeof zip);
        zip_ = zip;
        if (zip_.empty()) {
            GTEST_SKIP() << "KESTRO_RELEASE_ZIP is not set (scripts/test.sh sets it)";
        }
        // Kestro-<version>-win64.zip holds the folder Kestro-<version>.
        const std::string file = zip_.substr(zip_.rfind('\\') + 1);
        ASSERT_EQ(file.rfind("Kestro-", 0), 0u) << file;
        ASSERT_GT(file.size(), 17u) << file;
        version_ = file.substr(7, file.size() - 7 - 10);
        ASSERT_EQ(file.substr(file.size() - 10), "-win64.zip");
        unpacked_ = MakeTempFolder("release");
        names_ = Unzip(zip_, unpacked_);
        folder_ = unpacked_ + "Kestro-" + version_ + "\\";
    }
    void TearDown() override {
        if (!unpacked_.empty()) {
            RemoveFolder(unpacked_);
        }
    }

    std::string zip_, version_, unpacked_, folder_;
    std::vector<std::string> names_;
};

TEST_F(ReleaseArchive, HoldsOneFolderWithTheProgramsTheirDllDocsAndLicences) {
    const std::string top = "Kestro-" + version_ + "/";
    for (const std::string& name : names_) {
        EXPECT_EQ(name.rfind(top, 0), 0u) << name << " is outside " << top;
    }
    for (const char* name :
         {"Kestro.exe", "kto2mp3.exe", "libmp3lame-0.dll", "README.txt", "DOCS/documentation.htm",
          "DOCS/style.css", "licenses/LAME-COPYING.txt", "licenses/libjpeg-turbo-LICENSE.txt",
          "licenses/zlib-LICENSE.txt", "licenses/minizip-LICENSE.txt"}) {
        EXPECT_NE(std::find(names_.begin(), names_.end(), top + name), names_.end()) << name;
    }
    const std::string readme = ReadWholeFile(folder_ + "README.txt");
    EXPECT_EQ(readme.rfind("Kestro " + version_ + " for Windows\r\n", 0), 0u);
    EXPECT_EQ(readme.find("\n"), readme.find("\r\n") + 1) << "CR LF line ends";
}

TEST_F(ReleaseArchive, ProgramsCarryTheArchiveVersionInResourceAndManifest) {
    for (const char* program : {"Kestro.exe", "kto2mp3.exe"}) {
        EXPECT_EQ(ProductVersionOf(folder_ + program), version_) << program;
        const std::string manifest = ManifestOf(folder_ + program);
        EXPECT_NE(manifest.find("version=\"" + version_ + ".0\""), std::string::npos) << program;
        // Windows 10 and 11
        EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos)
            << program;
    }
}

TEST_F(ReleaseArchive, KestroStartsFromTheUnzippedFolderAndKeepsItsSettingsThere) {
    // A settings file of the older layout makes a first start too; unlike no file at all it
    // leaves the ad banner off, so that the program asks no ad server beyond this machine.
    WriteWholeFile(folder_ + "Kestro.ini", "Ann Lee\r\nann@example.com\r\n");
    PROCESS_INFORMATION process = StartIn(folder_, "Kestro.exe", "");
    HWND question = WaitForWindow(process.dwProcessId, "#32770", "Kestro program settings");
    ASSERT_NE(question, nullptr) << "the first start's question";
    PostMessageA(question, WM_COMMAND, IDCANCEL, 0);
    HWND window = WaitForWindow(process.dwProcessId, "Kestro", "Kestro");
    EXPECT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitAndClose(process), 0u);
    EXPECT_EQ(ReadWholeFile(folder_ + "Kestro.ini").substr(0, 12), "VERSION=20\r\n");
}

TEST_F(ReleaseArchive, Kto2mp3ConvertsWithTheDllBesideItAndCannotStartWithout) {
    // One second of 8000 Hz 16-bit sound, as the recorder leaves it.
    WriteWholeFile(folder_ + "tempwave.wav", RiffWave(Chunk("fmt ", PcmFormat(8000, 16000, 2, 16)) +
                                                      Chunk("data", Pattern(16000))));
    PROCESS_INFORMATION converter = StartIn(folder_, "kto2mp3.exe", " 1voice.mp3");
    EXPECT_EQ(WaitAndClose(converter), 1u) << "1 = converted";
    std::vector<Mp3Frame> frames;
    EXPECT_TRUE(ReadMp3Frames(ReadWholeFile(folder_ + "voice.mp3"), frames));
    EXPECT_GE(frames.size(), 8000u / 576);

    // Without the DLL the loader refuses the program: LAME is not linked in.
    ASSERT_TRUE(MoveFileA((folder_ + kLameDll).c_str(), (unpacked_ + kLameDll).c_str()));
    PROCESS_INFORMATION without = StartIn(folder_, "kto2mp3.exe", " 1again.mp3");
    EXPECT_EQ(WaitAndClose(without), static_cast<DWORD>(STATUS_DLL_NOT_FOUND));
    EXPECT_FALSE(FileExists(folder_ + "again.mp3"));
}

} // namespace
