// The services an editor under measurement runs with: message boxes that answer themselves
// and Qt's file dialogs; the caller names the settings file.
#pragma once

#include "host/editor/editor_session.h"
#include "host/editor/file_dialog_service.h"
#include "host/messagebox/message_box_service.h"

struct BenchEditorServices {
    BenchEditorServices() {
        services.messages = &messages;
        services.fileDialogs = &files;
    }
    // `services` points into this object.
    BenchEditorServices(const BenchEditorServices&) = delete;
    BenchEditorServices& operator=(const BenchEditorServices&) = delete;

    host::UnattendedMessageBoxService messages;
    host::QtFileDialogService files;
    host::EditorServices services;
};
