// A Prompt that answers from a script instead of asking a person: used by the tests, by
// camctl and by camdesk's screenshot mode. Everything asked is recorded in order.
#pragma once

#include "core/model/prompt.h"

#include <deque>
#include <ostream>
#include <utility>
#include <variant>

namespace cam {

class ScriptedPrompt : public Prompt {
public:
    struct Asked {
        enum Kind { Message, Input, OpenFile, SaveFile } kind;
        std::string text;  // message text, input prompt or dialog title
        std::string title;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
    };
    using Reply = std::variant<Answer, std::optional<std::string>>;

    // accept: what an unscripted question gets (OK/Yes when true, Cancel/No when false;
    // Retry/Cancel always gets Cancel).
    // echo: when set, each message text is written there as one line.
    explicit ScriptedPrompt(bool accept = false, std::ostream* echo = nullptr) : accept_(accept), echo_(echo) {}

    // Queue the next replies: an Answer for a message box, a text (or nullopt) for an
    // input box or a file dialog ("" = cancelled).
    void push(Answer a) { replies_.emplace_back(a); }
    void push(std::optional<std::string> text) { replies_.emplace_back(std::move(text)); }
    void push(const char* text) { push(std::optional<std::string>(text)); }
    // Several replies, in the order the questions come.
    template <class... R>
    requires(sizeof...(R) != 1) void push(R&&... replies) { (push(std::forward<R>(replies)), ...); }

    Answer message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::string openFile(const FileRequest& request) override;
    std::string saveFile(const FileRequest& request) override;

    const std::vector<Asked>& asked() const { return asked_; }
    std::vector<std::string> messages() const;  // texts of the message boxes, in order
    void clear() { asked_.clear(); }
    std::size_t pending() const { return replies_.size(); }

private:
    std::optional<Reply> next();
    std::string fileReply(Asked::Kind kind, const FileRequest& request);

    bool accept_;
    std::ostream* echo_;
    std::deque<Reply> replies_;
    std::vector<Asked> asked_;
};

}  // namespace cam
