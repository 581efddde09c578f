// File > Print on a real print queue: a private CUPS scheduler whose printer "KestroTest"
// writes each job's PostScript into one file (scripts/print-queue.sh, started by
// scripts/test.sh). The tests read the pages back with ps2pdf and pdftotext. The queue's
// printer has a 300 dpi letter page (2450 x 3200 printable) and a default font 99 pixels high
// and 53 wide (12.72 points, the pitch pdftotext is given): 32 lines of 46 characters a page.
// By hand:
//   source scripts/print-queue.sh; kestro_start_print_queue /tmp/kestro-print
// and run the tests in that shell.
#include <windows.h>

#include <dlgs.h>
#include <winspool.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/win/app_state.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/unix_command.h"

namespace {

using Page = std::vector<std::string>; // the page's lines that hold text, without trailing blanks

std::string Numbered(int from, int to) {
    std::string text;
    for (int i = from; i <= to; ++i) {
        text += (text.empty() ? "" : "\r\n") + std::string("line ") + std::to_string(i);
    }
    return text;
}

Page NumberedLines(int from, int to) {
    Page lines;
    for (int i = from; i <= to; ++i) {
        lines.push_back("line " + std::to_string(i));
    }
    return lines;
}

// The text of the pages pdftotext wrote, with the margin's blanks that precede every line taken
// away.
std::vector<Page> SplitPages(const std::string& text) {
    std::vector<Page> pages(1);
    size_t margin = std::string::npos;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        for (size_t feed = line.find('\f'); feed != std::string::npos; feed = line.find('\f')) {
            pages.push_back({});
            line.erase(0, feed + 1);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        if (!line.empty()) {
            margin = std::min(margin, line.find_first_not_of(' '));
            pages.back().push_back(line);
        }
    }
    for (Page& page : pages) {
        for (std::string& line : page) {
            line.erase(0, margin);
        }
    }
    while (!pages.empty() && pages.back().empty()) {
        pages.pop_back();
    }
    return pages;
}

// A print dialog answer: Print with the given number of copies, collated.
void PrintCopies(HWND dialog, int copies) {
    SetDlgItemInt(dialog, edt3, static_cast<UINT>(copies), FALSE);
    CheckDlgButton(dialog, chx2, BST_CHECKED);
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

class Printing : public MainWindowTest {
  protected:
    void SetUp() override {
        output_ = Environment("KESTRO_PRINT_OUTPUT");
        if (output_.empty()) {
            GTEST_SKIP() << "No test print queue: see the top of this file.";
        }
        MainWindowTest::SetUp();
        DeleteFileA(output_.c_str());
    }

    std::string InitialSettingsFile() const override {
        return "VERSION=20\nUSEMAPI=0\nUSERNAME=Ann Lee\nMAILFROM=ann@example.org\n"
               "SMTPPORT=25\nX=50\nY=40\nWIDTH=472\nHEIGHT=553\n";
    }

    // File > Print with the printer dialog answered by `answer`.
    void Print(std::function<void(HWND)> answer) {
        WhenDialogAppears(std::move(answer));
        SendMessageA(window_, WM_COMMAND, IDM_PRINT, 0);
        ForgetDialogAction();
    }

    // What the queue printed, page by page, once the job has reached its file.
    std::vector<Page> PrintedPages() {
        const std::string pdf = folder_ + "printed.pdf";
        const std::string text = folder_ + "printed.txt";
        UnixCommand convert(folder_, "for i in $(seq 200); do tail -c 20 " + Quoted(output_) +
                                         " 2>/dev/null | grep -q EOF && break; sleep 0.1; done;"
                                         " ps2pdf " +
                                         Quoted(output_) + " " + Quoted(pdf) +
                                         " && pdftotext -layout -fixed 12.72 " + Quoted(pdf) + " " +
                                         Quoted(text));
        EXPECT_EQ(convert.Wait(60000), 0) << "no printed job in " << output_;
        return SplitPages(ReadWholeFile(text));
    }

    std::string output_;
};

TEST_F(Printing, HeaderBlockAndAHundredLinesOverFourPages) {
    SetWindowTextA(Edit(IDC_CC_EDIT), "carl@example.org");
    SetWindowTextA(Edit(IDC_SUBJECT_EDIT), "Minutes");
    SetWindowTextA(app.bodyEditor, Numbered(0, 99).c_str());
    Print([](HWND dialog) { SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); });
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    EXPECT_TRUE(IsWindowEnabled(window_));

    const std::vector<Page> pages = PrintedPages();
    ASSERT_EQ(pages.size(), 4u);
    Page first = {"from:     Ann Lee <ann@example.org>", "to:       No recipient",
                  "cc:       carl@example.org", "bcc:", "subject:  Minutes"};
    // The body starts on line 9: lines 0 to 22 fill the first page's 32 lines.
    const Page firstBody = NumberedLines(0, 22);
    first.insert(first.end(), firstBody.begin(), firstBody.end());
    EXPECT_EQ(pages[0], first);
    EXPECT_EQ(pages[1], NumberedLines(23, 54));
    EXPECT_EQ(pages[2], NumberedLines(55, 86));
    EXPECT_EQ(pages[3], NumberedLines(87, 99));
    // The job is named after the first three characters of the window's caption.
    EXPECT_NE(ReadWholeFile(output_).find("%%Title: Min\n"), std::string::npos);
}

TEST_F(Printing, ALineWiderThanThePaperContinuesOnTheNextLines) {
    std::string paragraph;
    for (int i = 1; i <= 60; ++i) {
        paragraph += (i > 1 ? " word" : "word") + std::to_string(i);
    }
    SetWindowTextA(app.bodyEditor, paragraph.c_str());
    Print([](HWND dialog) { SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); });

    const std::vector<Page> pages = PrintedPages();
    ASSERT_EQ(pages.size(), 1u);
    std::string body;
    for (size_t line = 5; line < pages[0].size(); ++line) {
        EXPECT_LE(pages[0][line].size(), 46u) << pages[0][line];
        body += (body.empty() ? "" : " ") + pages[0][line];
    }
    EXPECT_EQ(body, paragraph);
}

TEST_F(Printing, TwoCollatedCopiesRunThroughTheMessageTwice) {
    SetWindowTextA(app.bodyEditor, Numbered(0, 39).c_str());
    Print([](HWND dialog) { PrintCopies(dialog, 2); });

    const std::vector<Page> pages = PrintedPages();
    ASSERT_EQ(pages.size(), 4u);
    for (size_t page = 0; page < 4; ++page) {
        ASSERT_FALSE(pages[page].empty());
        EXPECT_EQ(pages[page].front(),
                  page % 2 == 0 ? "from:     Ann Lee <ann@example.org>" : "line 23")
            << "page " << page + 1;
    }
    EXPECT_EQ(pages[0], pages[2]);
    EXPECT_EQ(pages[1], pages[3]);
}

TEST_F(Printing, CancelInThePrinterDialogPrintsAndShowsNothing) {
    SetWindowTextA(app.bodyEditor, "not for paper");
    Print([](HWND dialog) { SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); });
    PumpMessagesFor(1500);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    EXPECT_FALSE(FileExists(output_));
    EXPECT_TRUE(IsWindowEnabled(window_));
}

TEST_F(Printing, CancelWhilePrintingEndsTheJobWithAMessage) {
    SetWindowTextA(app.bodyEditor, Numbered(0, 300).c_str());
    bool progressShown = false;
    Print([&](HWND dialog) {
        WhenDialogAppears([&](HWND progress) {
            progressShown = TextOf(progress) == "Printing";
            SendMessageA(GetDlgItem(progress, IDCANCEL), BM_CLICK, 0, 0);
        });
        Sleep(100); // the progress dialog is looked for as soon as printing starts
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_TRUE(progressShown);
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text, "Could not print the document");
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "Kestro Print");
    EXPECT_TRUE(IsWindowEnabled(window_));
    PumpMessagesFor(1500);
    EXPECT_FALSE(FileExists(output_));
}

// With the queue's printer removed from this Wine session, the system knows no printer. (The
// next test process finds it again: Wine takes the printers from the scheduler at its start.)
TEST_F(Printing, WithoutAPrinterSaysNoPrinterIsInstalled) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    ASSERT_TRUE(OpenPrinterA(const_cast<char*>("KestroTest"), &printer, &access));
    EXPECT_TRUE(DeletePrinter(printer));
    ClosePrinter(printer);
    Print([](HWND dialog) { SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); });
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    EXPECT_EQ(MessageBoxes::Calls()[0].text, "No printer is installed.");
    EXPECT_EQ(MessageBoxes::Calls()[0].caption, "Kestro Print");
}

} // namespace
