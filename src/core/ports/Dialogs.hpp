#pragma once
// Message boxes and file dialogs: the Qt layer shows them, tests and the command-line tool
// answer them from a script.
#include <optional>
#include <string>

namespace krv::ports {

enum class MsgIcon { None, Exclamation, Critical, Information, Question };
enum class MsgButtons { Ok, OkCancel, RetryCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Retry, Yes, No };

struct MessageBoxRequest {
    std::string text;
    std::string title;  // empty: the application title
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    bool beep = false;
};

struct FileDialogRequest {
    std::string title;
    std::string filter;       // "Text (*.log)|*.log" style, as the string table holds it
    std::string initialName;  // suggested file name or path
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgResult messageBox(const MessageBoxRequest& request) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> openFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFileName(const FileDialogRequest& request) = 0;
};

}  // namespace krv::ports
