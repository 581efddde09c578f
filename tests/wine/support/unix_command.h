// Unix programs started from the Windows tests: Wine starts a Unix program like one of its own.
// The tests speak phrases with espeak-ng, feed the microphone with pacat and decode with sox.
#pragma once

#include <string>

// The value of an environment variable, empty when it is not set.
std::string Environment(const char* name);

// The Unix path of a Windows path, for the Unix programs; empty when Wine cannot tell.
std::string UnixPath(const std::string& windowsPath);

// The Unix path of a Windows path in single quotes, for a shell command line.
std::string Quoted(const std::string& windowsPath);

// A Unix shell command started from Wine. It writes its exit status into a marker file in
// `folder` when it ends, which Wait looks for while the windows of this thread keep running.
class UnixCommand {
  public:
    UnixCommand(const std::string& folder, const std::string& command);

    // The command's exit status, or -1 when it did not end within the time.
    int Wait(int milliseconds);

  private:
    std::string marker_;
    bool started_ = false;
};
