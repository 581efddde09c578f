// The Windows tests' entry point: the process is set up as Kestro's start-up sets it up, and
// every message box is answered by the tests.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/win/app_state.h"
#include "base/win/message_box.h"
#include "app/win/startup.h"
#include "support/harness.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    app.instance = GetModuleHandleA(nullptr);
    if (!RegisterKestroClasses(app.instance)) {
        return 2;
    }
    LoadRichEditLibrary();
    InitCommonControls();
    SetMessageBoxResponder(MessageBoxes::Respond);
    return RUN_ALL_TESTS();
}
