// Every message box, input box and file dialog goes through this interface, so that
// commands run the same with real dialogs, in tests and on the command line.
// Texts are Windows-1252 bytes, as everywhere in the core.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cam {

// OkCancelDefaultCancel: OK and Cancel with Cancel as the default button, for questions
// where the default answer must be the safe one.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, OkCancelDefaultCancel };
enum class Icon { None, Stop, Exclamation, Question, Information };
enum class Answer { Ok, Cancel, Yes, No, Retry };

struct FileRequest {
    std::string title;
    // Description and pattern pairs, e.g. {"Cam File (*.Cam)", "*.cam"}; the first is preselected.
    std::vector<std::pair<std::string, std::string>> filters;
    std::string folder;  // where the dialog starts
    std::string name;    // proposed file name or path
};

class Prompt {
public:
    virtual ~Prompt() = default;
    // An empty title means the program's default title.
    virtual Answer message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) = 0;
    // std::nullopt when cancelled.
    virtual std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                             const std::string& defaultText) = 0;
    // The chosen path, "" when cancelled.
    virtual std::string openFile(const FileRequest& request) = 0;
    virtual std::string saveFile(const FileRequest& request) = 0;
};

// The answer a box gives when the user accepts (OK, Yes or Retry) or declines (Cancel or No).
Answer AcceptAnswer(Buttons buttons);
Answer DeclineAnswer(Buttons buttons);

}  // namespace cam
