#include "platform/MessageSeam.h"

#include <windows.h>

namespace {
MessageHandler& currentHandler() {
    static MessageHandler handler;
    return handler;
}
} // namespace

const char* getAppTitle() { return "ImportExport"; }

void showMessage(const std::string& text) {
    if (const MessageHandler& handler = currentHandler()) {
        handler(text, getAppTitle());
        return;
    }
    MessageBoxA(nullptr, text.c_str(), getAppTitle(), MB_OK | MB_TASKMODAL);
}

MessageHandler setMessageHandler(MessageHandler handler) {
    MessageHandler previous = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return previous;
}
