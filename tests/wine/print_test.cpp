// File > Print on the private CUPS queue of scripts/print-queue.sh (started by scripts/test.sh;
// by hand: source it, kestro_start_print_queue /tmp/kestro-print). Its printer's letter page at
// 300 dpi and default font (99 x 53 pixels, 12.72 points wide) give 32 lines of 46 characters.
#include <windows.h>

#include <dlgs.h>
#include <winspool.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "compose/win/compose_windows.h"
#include "resources/resource_ids.h"
#include "support/harness.h"
#include "support/unix_command.h"

namespace {

using Page = std::vector<std::string>; // the lines of a page that hold text

Page Lines(int from, int to) {
    Page lines;
    for (int i = from; i <= to; ++i) {
        lines.push_back("line " + std::to_string(i));
    }
    return lines;
}

std::string Joined(const Page& lines, const char* separator) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : separator) + line;
    }
    return text;
}

// pdftotext's pages (the printing script drops the margin's column and the empty lines).
std::vector<Page> SplitPages(const std::string& text) {
    std::vector<Page> pages(1);
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        for (; !line.empty() && line[0] == '\f'; line.erase(0, 1)) {
            pages.push_back({});
        }
        if (!line.empty()) {
            pages.back().push_back(line);
        }
    }
    pages.pop_back(); // after the last page's form feed
    return pages;
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
        Command(window_, IDM_PRINT);
        ForgetDialogAction();
    }

    // What the queue printed, once the job has reached its file.
    std::vector<Page> PrintedPages() {
        const std::string pdf = Quoted(folder_ + "printed.pdf");
        const std::string text = folder_ + "printed.txt";
        const std::string ps = Quoted(output_);
        UnixCommand convert(folder_, "for i in $(seq 200); do tail -c 20 " + ps +
                                         " 2>/dev/null | grep -q EOF && break; sleep 0.1; done;"
                                         " ps2pdf " +
                                         ps + " " + pdf + " && pdftotext -layout -fixed 12.72 " +
                                         pdf + " - | sed 's/^\\(\\f*\\) /\\1/; s/ *$//; /^$/d' >" +
                                         Quoted(text));
        EXPECT_EQ(convert.Wait(60000), 0) << "no printed job in " << output_;
        return SplitPages(ReadWholeFile(text));
    }

    std::string output_;
};

TEST_F(Printing, HeaderBlockAndAHundredLinesOverFourPages) {
    SetWindowTextA(Edit(IDC_CC_EDIT), "carl@example.org");
    SetWindowTextA(Edit(IDC_SUBJECT_EDIT), "Minutes");
    SetWindowTextA(composeWindows.bodyEditor, Joined(Lines(0, 99), "\r\n").c_str());
    Print([](HWND dialog) { Command(dialog, IDOK); });
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    const std::vector<Page> pages = PrintedPages();
    ASSERT_EQ(pages.size(), 4u);
    // The body starts on line 9: lines 0 to 22 fill the first page's 32 lines.
    EXPECT_EQ(Joined(pages[0], "\n"),
              "from:     Ann Lee <ann@example.org>\nto:       No recipient\n"
              "cc:       carl@example.org\nbcc:\nsubject:  Minutes\n" +
                  Joined(Lines(0, 22), "\n"));
    EXPECT_EQ(pages[1], Lines(23, 54));
    EXPECT_EQ(pages[2], Lines(55, 86));
    EXPECT_EQ(pages[3], Lines(87, 99));
    // The job is named after the first three characters of the window's caption.
    EXPECT_NE(ReadWholeFile(output_).find("%%Title: Min\n"), std::string::npos);
}

// A paragraph wider than the paper flows on at the paper's width, the editor's own line breaks
// left out; two collated copies run through the whole message twice.
TEST_F(Printing, AParagraphFlowsOnAndTwoCollatedCopiesFollowEachOther) {
    Page words;
    for (int i = 1; i <= 60; ++i) {
        words.push_back("word" + std::to_string(i));
    }
    const std::string paragraph = Joined(words, " ");
    SetWindowTextA(composeWindows.bodyEditor,
                   (paragraph + "\r\n" + Joined(Lines(0, 39), "\r\n")).c_str());
    Print([](HWND dialog) {
        SetDlgItemInt(dialog, edt3, 2, FALSE);
        CheckDlgButton(dialog, chx2, BST_CHECKED);
        Command(dialog, IDOK);
    });

    const std::vector<Page> pages = PrintedPages();
    ASSERT_EQ(pages.size(), 4u);
    const auto lineZero = std::find(pages[0].begin(), pages[0].end(), "line 0");
    ASSERT_NE(lineZero, pages[0].end());
    EXPECT_EQ(Joined(Page(pages[0].begin() + 5, lineZero), " "), paragraph);
    EXPECT_EQ(pages[1].back(), "line 39");
    EXPECT_EQ(pages[2], pages[0]);
    EXPECT_EQ(pages[3], pages[1]);
}

TEST_F(Printing, CancelInThePrinterDialogPrintsAndShowsNothing) {
    SetWindowTextA(composeWindows.bodyEditor, "not for paper");
    Print([](HWND dialog) { Command(dialog, IDCANCEL); });
    PumpMessagesFor(1500);
    EXPECT_TRUE(MessageBoxes::Calls().empty());
    EXPECT_FALSE(FileExists(output_));
}

TEST_F(Printing, CancelWhilePrintingEndsTheJobWithAMessage) {
    SetWindowTextA(composeWindows.bodyEditor, Joined(Lines(0, 300), "\r\n").c_str());
    std::string progressCaption;
    Print([&](HWND dialog) {
        WhenDialogAppears([&](HWND progress) {
            progressCaption = TextOf(progress);
            Command(progress, IDCANCEL);
        });
        Sleep(100); // the progress dialog is looked for as soon as printing starts
        Command(dialog, IDOK);
    });
    EXPECT_EQ(progressCaption, "Printing");
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    ExpectMessageBox(0, "Could not print the document", "Kestro Print", MB_OK);
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
    Print([](HWND dialog) { Command(dialog, IDCANCEL); });
    ASSERT_EQ(MessageBoxes::Calls().size(), 1u);
    ExpectMessageBox(0, "No printer is installed.", "Kestro Print", MB_OK | MB_ICONINFORMATION);
}

} // namespace
