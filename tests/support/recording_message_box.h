// A message box that records what it was asked to show instead of showing it.
#pragma once

#include <string>
#include <vector>

#include "wizard/message_box.h"

struct RecordingMessageBox : ostrel::MessageBox {
    struct Shown {
        std::string prompt;
        std::string title;
        int style;
    };
    RecordingMessageBox() { ostrel::setMessageBox(this); }
    ~RecordingMessageBox() override { ostrel::setMessageBox(nullptr); }
    void show(const std::string& prompt, const std::string& title, int style) override {
        shown.push_back({prompt, title, style});
    }
    std::vector<Shown> shown;
};
