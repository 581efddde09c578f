#include "compose/win/attach_file_command.h"

#include <commdlg.h>

#include "base/program_settings.h"
#include "base/win/message_box.h"
#include "compose/attachment_names.h"
#include "compose/win/attachments.h"
#include "compose/win/compose_windows.h"

const char kAttachFileFilters[] =
    "All Files (*.*)\0*.*\0"
    "Documents (.txt;.rtf;.doc)\0*.txt;*.rtf;*.doc\0"
    "Audio Files (.wav;.mp3;.mid)\0*.wav;*.mp3;*.mid\0"
    "Video Files (.avi;.rm;.mp*;.viv)\0*.avi;*.rm;*.mpeg;*.mpg;*.viv\0"
    "Image Files (.bmp;.gif;.jp*;.tif*;.tga;.png;.rle)\0"
    "*.bmp;*.gif;*.jp*;*.tif*;*.tga;*.png;*.rle\0"
    "Zip Files (.zip;.tar;.tgz;.hqx;.gz;.z;.lz)\0*.zip;*.tar;*.tgz;*.hqx;*.gz;*.z;*.lz\0";

const char kAttachmentFileFilters[] =
    "All Files (*.*)\0*.*\0"
    "Documents (.txt;.rtf;.doc)\0*.txt;*.rtf;*.doc\0"
    "Audio Files (.wav;.mp3;.mid)\0*.wav;*.mp3;*.mid\0"
    "Video Files (.avi;.mp*;.viv)\0*.avi;*.mpeg;*.mpg;*.viv\0"
    "Image Files (.bmp;.gif;.jp*;.tif*;.tga;.png;.rle)\0"
    "*.bmp;*.gif;*.jp*;*.tif*;*.tga;*.png;*.rle\0"
    "Zip Files (.zip;.tar;.tgz;.hqx;.gz;.z;.lz)\0*.zip;*.tar;*.tgz;*.hqx;*.gz;*.z;*.lz\0";

bool AttachFromOpenDialog(HWND owner, const char* filters) {
    char path[kAttachmentPathSize] = "";
    char title[kAttachmentPathSize] = "";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrFileTitle = title;
    dialog.nMaxFileTitle = sizeof title;
    dialog.lpstrInitialDir = composeWindows.settings->attachDir;
    dialog.lpstrTitle = "Attach File";
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameA(&dialog)) {
        return false;
    }
    StripEntryDirectory(path, composeWindows.settings->attachDir);
    if (!AddAttachment(path)) {
        ShowMessageBox(owner, kAttachRefusedText, kAttachRefusedCaption, MB_OK);
    }
    return true;
}

void AttachFileCommand(HWND mainWindow) {
    AttachFromOpenDialog(mainWindow, kAttachFileFilters);
}
