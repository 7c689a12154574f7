// The simulated Windows' user interface: other programs' top-level windows, message boxes
// (answered from a queue or a hook) and the thread's message queue (PostQuitMessage also
// puts a quit message at its end).
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/sim/sim_part.h"

namespace plat {

class SimUserInterface : public virtual SimPart {
public:
    struct MessageBoxCall {
        WindowHandle owner = 0;
        std::string text;
        std::string caption;
        unsigned style = 0;
        int answer = 0;
    };
    enum class WindowAction { BroughtToFront, ShownNormal };
    struct WindowEvent {
        WindowHandle window = 0;
        WindowAction action = WindowAction::BroughtToFront;
    };
    enum class MessageKind { EnterKeyDown, Quit, Other };
    struct QueuedMessage {
        MessageKind kind = MessageKind::Other;
        int id = 0;  // Other: the test's own number; Quit: the exit code
    };

    // ---- Test-facing API: windows ------------------------------------------------------
    WindowHandle AddWindow(const std::string& title, const std::string& className);
    void RemoveWindow(WindowHandle window);
    const std::vector<WindowEvent>& WindowEvents() const { return windowEvents_; }

    // ---- Test-facing API: message boxes ------------------------------------------------
    // Answers are taken in order. Without a queued answer: IDOK for OK boxes, IDNO for
    // Yes/No, IDCANCEL for OK/Cancel.
    void QueueMessageBoxAnswer(int answer) { answers_.push_back(answer); }
    size_t PendingMessageBoxAnswers() const { return answers_.size(); }
    const std::vector<MessageBoxCall>& MessageBoxes() const { return boxes_; }
    void ClearMessageBoxes() { boxes_.clear(); }
    // Called for every box before the queue; a non-zero result answers the box.
    void SetMessageBoxHook(std::function<int(const MessageBoxCall&)> hook) { boxHook_ = std::move(hook); }
    // A loop that keeps asking (FIND with default answers asks for ever) is stopped with
    // a std::runtime_error once this many boxes were shown (default 10000); gtest then
    // fails the test and goes on with the next.
    void SetMessageBoxLimit(size_t limit) { boxLimit_ = limit; }

    // ---- Test-facing API: the message queue --------------------------------------------
    void QueueEnterKey() { messages_.push_back({MessageKind::EnterKeyDown, 0}); }
    void QueueQuit(int code = 0) { messages_.push_back({MessageKind::Quit, code}); }
    void QueueMessage(int id) { messages_.push_back({MessageKind::Other, id}); }
    size_t PendingMessages() const { return messages_.size(); }
    const std::vector<QueuedMessage>& DispatchedMessages() const { return dispatched_; }
    // Called at the start of every PeekMessage (for example to queue a message at a
    // certain moment) and for every dispatched message.
    void SetPeekHook(std::function<void()> hook) { peekHook_ = std::move(hook); }
    void SetDispatchHook(std::function<void(const QueuedMessage&)> hook) { dispatchHook_ = std::move(hook); }
    int PeekCalls() const { return peekCalls_; }
    const std::vector<int>& QuitRequests() const { return quits_; }  // PostQuitMessage codes

    // ---- plat::Platform ----------------------------------------------------------------
    WindowHandle FindWindowByTitle(const char* title) override;
    WindowHandle FindWindowByClass(const char* className) override;
    void BringWindowToFront(WindowHandle window) override;
    void ShowWindowNormal(WindowHandle window) override;
    int MessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style) override;
    bool PeekMessage(PeekedMessage* message) override;
    void DispatchMessage(const PeekedMessage& message) override;
    void PostQuitMessage(int code) override;

private:
    struct Window {
        std::string title, className;
    };

    std::map<WindowHandle, Window> windows_;
    std::vector<WindowEvent> windowEvents_;

    std::deque<int> answers_;
    std::vector<MessageBoxCall> boxes_;
    std::function<int(const MessageBoxCall&)> boxHook_;
    size_t boxLimit_ = 10000;
    size_t boxCount_ = 0;

    std::deque<QueuedMessage> messages_;
    std::vector<QueuedMessage> dispatched_;
    std::function<void()> peekHook_;
    std::function<void(const QueuedMessage&)> dispatchHook_;
    int peekCalls_ = 0;
    std::vector<int> quits_;
};

}  // namespace plat
