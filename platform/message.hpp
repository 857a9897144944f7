#pragma once
// What the programs show the user in a modal message box, and the answer.
// The model and the engine talk only to this interface; the GUI supplies a
// real box, the engine prints to standard error, tests script the answers.
#include <deque>
#include <string>
#include <vector>

namespace kova {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
// The numbers are those of the classic message-box answers.
enum class MsgAnswer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct Message {
    std::string text;     // UTF-8; a CR breaks the line
    std::string caption;  // empty: the application title
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    int defaultButton = 0;  // 0-based index of the default button
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual MsgAnswer Show(const Message& m) = 0;

    // Shorthand for the common OK box.
    void Notify(std::string text, MsgIcon icon = MsgIcon::Exclamation, std::string caption = {}) {
        Show(Message{std::move(text), std::move(caption), icon, MsgButtons::Ok, 0});
    }
};

// The buttons of a box, left to right.
const std::vector<MsgAnswer>& ButtonsOf(MsgButtons b);

// The answer a box gives when nobody chooses: its default button.
MsgAnswer DefaultAnswer(const Message& m);

// Writes each box to standard error ("caption: text"), answers the default.
class StderrMessages : public MessageSink {
public:
    explicit StderrMessages(std::string appTitle) : title_(std::move(appTitle)) {}
    MsgAnswer Show(const Message& m) override;

private:
    std::string title_;
};

}  // namespace kova
