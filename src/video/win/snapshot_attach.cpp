#include <cstdio>
#include <cstring>

#include "base/win/message_box.h"
#include "compose/win/attachments.h"
#include "video/snapshot_jpeg.h"
#include "video/video_names.h"
#include "video/win/video_attach.h"

bool AttachSnapshot(const VideoAttachTarget& target) {
    char name[kVideoNameBufferSize] = {};
    GetWindowTextA(target.nameEdit, name, sizeof name);
    char proposed[kVideoNameBufferSize] = {};
    std::snprintf(proposed, sizeof proposed, "%s", name);
    SnapshotNameFromEdit(proposed, attachmentTable);
    if (std::strncmp(name, "videom", 6) == 0) {
        // The window still proposes a clip name: it proposes a snapshot name now.
        SetWindowTextA(target.nameEdit, proposed);
        GetWindowTextA(target.nameEdit, name, sizeof name);
    } else {
        std::snprintf(name, sizeof name, "%s", proposed);
    }
    if (!ValidateSnapshotName(name)) {
        ShowMessageBox(target.dialog, kInvalidVideoNameText, kRenameSnapshotCaption,
                       MB_OK | MB_ICONSTOP);
        SetFocus(target.nameEdit);
        return true;
    }
    if (SnapshotToJpeg(target.programDirectory, name) == 0) {
        char path[MAX_PATH + kVideoNameBufferSize];
        std::snprintf(path, sizeof path, "%s%s", target.programDirectory, name);
        AddAttachment(path);
    }
    return false;
}
