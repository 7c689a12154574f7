// The simulated Windows' user interface (see sim_user_interface.h).
#include "platform/sim/sim_user_interface.h"

#include <stdexcept>

#include "platform/sim/sim_path_rules.h"

namespace plat {

// ---- Windows ---------------------------------------------------------------------------------

WindowHandle SimUserInterface::AddWindow(const std::string& title, const std::string& className) {
    WindowHandle h = NewHandle();
    windows_[h] = Window{title, className};
    return h;
}

void SimUserInterface::RemoveWindow(WindowHandle window) { windows_.erase(window); }

WindowHandle SimUserInterface::FindWindowByTitle(const char* title) {
    for (const auto& kv : windows_) {
        if (title && UpperCaseName(kv.second.title) == UpperCaseName(title)) return kv.first;
    }
    return 0;
}

WindowHandle SimUserInterface::FindWindowByClass(const char* className) {
    for (const auto& kv : windows_) {
        if (className && UpperCaseName(kv.second.className) == UpperCaseName(className)) return kv.first;
    }
    return 0;
}

void SimUserInterface::BringWindowToFront(WindowHandle window) {
    windowEvents_.push_back({window, WindowAction::BroughtToFront});
}

void SimUserInterface::ShowWindowNormal(WindowHandle window) {
    windowEvents_.push_back({window, WindowAction::ShownNormal});
}

// ---- Message boxes and the message queue ------------------------------------------------

int SimUserInterface::MessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style) {
    if (++boxCount_ > boxLimit_) {
        // Thrown, so that the test fails and the others still run.
        throw std::runtime_error(
            "SimWindows: too many message boxes; is a loop waiting for an answer the test never queued?");
    }
    MessageBoxCall call;
    call.owner = owner;
    call.text = text ? text : "";
    call.caption = caption ? caption : "";
    call.style = style;
    int answer = boxHook_ ? boxHook_(call) : 0;
    if (!answer && !answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    if (!answer) {
        switch (style & 0xF) {
            case kMbOkCancel: answer = kIdCancel; break;
            case kMbYesNo: answer = kIdNo; break;
            case 3: answer = kIdCancel; break;  // Yes/No/Cancel
            default: answer = kIdOk; break;
        }
    }
    call.answer = answer;
    boxes_.push_back(call);
    return answer;
}

bool SimUserInterface::PeekMessage(PeekedMessage* message) {
    peekCalls_++;
    if (peekHook_) peekHook_();
    if (messages_.empty()) return false;
    QueuedMessage m = messages_.front();
    messages_.pop_front();
    *message = PeekedMessage{};
    message->isQuit = m.kind == MessageKind::Quit;
    message->isEnterKeyDown = m.kind == MessageKind::EnterKeyDown;
    message->opaque[0] = static_cast<uintptr_t>(m.kind);
    message->opaque[1] = static_cast<uintptr_t>(m.id);
    return true;
}

void SimUserInterface::DispatchMessage(const PeekedMessage& message) {
    QueuedMessage m;
    m.kind = static_cast<MessageKind>(message.opaque[0]);
    m.id = static_cast<int>(message.opaque[1]);
    dispatched_.push_back(m);
    if (dispatchHook_) dispatchHook_(m);
}

void SimUserInterface::PostQuitMessage(int code) {
    quits_.push_back(code);
    messages_.push_back({MessageKind::Quit, code});
}

}  // namespace plat
