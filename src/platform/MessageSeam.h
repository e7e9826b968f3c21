#pragma once
#include <functional>
#include <string>

// Every plain message box of the program (the fixed German messages of the file routines, the
// English messages of the archive container, the layout errors) goes through showMessage. The
// default handler shows a system message box with an OK button and the application's title;
// tests install their own handler so that nothing ever blocks.
using MessageHandler = std::function<void(const std::string& text, const std::string& title)>;

void showMessage(const std::string& text);
// Installs a handler and returns the previous one; an empty handler restores the default.
MessageHandler setMessageHandler(MessageHandler handler);

// The application's title, used for message boxes.
const char* getAppTitle();
