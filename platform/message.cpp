#include "platform/message.hpp"

#include <cstdio>

namespace kova {

const std::vector<MsgAnswer>& ButtonsOf(MsgButtons b) {
    static const std::vector<std::vector<MsgAnswer>> kButtons = {
        {MsgAnswer::Ok},
        {MsgAnswer::Ok, MsgAnswer::Cancel},
        {MsgAnswer::Abort, MsgAnswer::Retry, MsgAnswer::Ignore},
        {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel},
        {MsgAnswer::Yes, MsgAnswer::No},
        {MsgAnswer::Retry, MsgAnswer::Cancel},
    };
    return kButtons[static_cast<std::size_t>(b)];
}

MsgAnswer DefaultAnswer(const Message& m) {
    const auto& b = ButtonsOf(m.buttons);
    std::size_t i = m.defaultButton >= 0 ? static_cast<std::size_t>(m.defaultButton) : 0;
    return b[i < b.size() ? i : 0];
}

MsgAnswer StderrMessages::Show(const Message& m) {
    const std::string& cap = m.caption.empty() ? title_ : m.caption;
    std::fprintf(stderr, "%s: %s\n", cap.c_str(), m.text.c_str());
    std::fflush(stderr);
    return DefaultAnswer(m);
}

}  // namespace kova
