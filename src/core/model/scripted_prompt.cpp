#include "core/model/scripted_prompt.h"

namespace cam {

Answer AcceptAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return Answer::Yes;
        case Buttons::RetryCancel:
            return Answer::Retry;
        default:
            return Answer::Ok;
    }
}

Answer DeclineAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

std::optional<ScriptedPrompt::Reply> ScriptedPrompt::next() {
    if (replies_.empty()) return std::nullopt;
    Reply r = std::move(replies_.front());
    replies_.pop_front();
    return r;
}

Answer ScriptedPrompt::message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) {
    asked_.push_back({Asked::Message, text, title, buttons, icon});
    if (echo_) *echo_ << text << '\n' << std::flush;
    if (auto r = next(); r && std::holds_alternative<Answer>(*r)) return std::get<Answer>(*r);
    // Trying again is for someone who has mended the cause in between: unattended, the same
    // question would come back for ever.
    if (buttons == Buttons::RetryCancel) return Answer::Cancel;
    return accept_ ? AcceptAnswer(buttons) : DeclineAnswer(buttons);
}

std::optional<std::string> ScriptedPrompt::input(const std::string& prompt, const std::string& title,
                                                 const std::string& defaultText) {
    asked_.push_back({Asked::Input, prompt, title, Buttons::OkCancel, Icon::None});
    if (echo_) *echo_ << prompt << '\n' << std::flush;
    if (auto r = next(); r && std::holds_alternative<std::optional<std::string>>(*r))
        return std::get<std::optional<std::string>>(*r);
    if (accept_) return defaultText;
    return std::nullopt;
}

std::string ScriptedPrompt::fileReply(Asked::Kind kind, const FileRequest& request) {
    asked_.push_back({kind, request.title, request.title, Buttons::OkCancel, Icon::None});
    if (auto r = next(); r && std::holds_alternative<std::optional<std::string>>(*r))
        return std::get<std::optional<std::string>>(*r).value_or("");
    return "";
}

std::string ScriptedPrompt::openFile(const FileRequest& request) { return fileReply(Asked::OpenFile, request); }
std::string ScriptedPrompt::saveFile(const FileRequest& request) { return fileReply(Asked::SaveFile, request); }

std::vector<std::string> ScriptedPrompt::messages() const {
    std::vector<std::string> out;
    for (const auto& a : asked_)
        if (a.kind == Asked::Message) out.push_back(a.text);
    return out;
}

}  // namespace cam
