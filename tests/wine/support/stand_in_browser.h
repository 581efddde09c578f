// The stand-in browser (fake_browser.exe) registered for HTML pages in the test prefix, so that
// opening a page starts it; the association is restored when the object goes.
#pragma once

#include <string>

class StandInBrowser {
  public:
    // Copies fake_browser.exe into folder + "web\" and names it the program for .htm files.
    explicit StandInBrowser(const std::string& folder);
    ~StandInBrowser();
    StandInBrowser(const StandInBrowser&) = delete;
    StandInBrowser& operator=(const StandInBrowser&) = delete;

    // The folder the browser lives in, with a trailing backslash.
    const std::string& Folder() const { return folder_; }

    // The browser's log once it has run (its command line, then the folder it was started in),
    // or "" when it was not started within five seconds.
    std::string WaitForLog() const;

  private:
    std::string folder_;
    std::string previousHtmClass_ = "htmlfile";
};
