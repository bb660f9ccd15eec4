#pragma once
// Dialogs answered from a script, with every request kept: for tests and for headless runs.
#include <deque>
#include <vector>

#include "core/ports/Dialogs.hpp"

namespace krv::ports {

class ScriptedDialogs : public Dialogs {
public:
    // Answers are used in order; when none is left a box answers with its first button
    // (OK, Retry or Yes) and a file dialog is cancelled.
    std::deque<MsgResult> answers;
    std::deque<std::optional<std::string>> fileAnswers;

    std::vector<MessageBoxRequest> boxes;
    std::vector<FileDialogRequest> fileDialogs;

    MsgResult messageBox(const MessageBoxRequest& request) override {
        boxes.push_back(request);
        if (!answers.empty()) {
            const MsgResult r = answers.front();
            answers.pop_front();
            return r;
        }
        switch (request.buttons) {
        case MsgButtons::RetryCancel: return MsgResult::Retry;
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel: return MsgResult::Yes;
        default: return MsgResult::Ok;
        }
    }
    std::optional<std::string> openFileName(const FileDialogRequest& request) override { return nextFile(request); }
    std::optional<std::string> saveFileName(const FileDialogRequest& request) override { return nextFile(request); }

private:
    std::optional<std::string> nextFile(const FileDialogRequest& request) {
        fileDialogs.push_back(request);
        if (fileAnswers.empty()) return std::nullopt;
        auto r = fileAnswers.front();
        fileAnswers.pop_front();
        return r;
    }
};

}  // namespace krv::ports
