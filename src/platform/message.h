// Messages for the user. The program shows them in message boxes; the command-line
// companion and the tests print them. The core only says what to show and to whom.
#pragma once

#include <string>

// ActiveWindow is the window the user works in, such as the practice-list window.
enum class MessageOwner { None, MainWindow, ActiveWindow };
enum class MessageIcon { Warning, None };

struct UserMessage {
    std::string text;
    std::string caption;
    MessageOwner owner = MessageOwner::None;
    MessageIcon icon = MessageIcon::Warning;
};

using MessageHandler = void (*)(const UserMessage& message);

// The default handler writes "caption: text" to stderr.
void SetMessageHandler(MessageHandler handler);
void ShowUserMessage(const UserMessage& message);
void ShowWarning(const std::string& text, const std::string& caption, MessageOwner owner = MessageOwner::None);

// Ends the process at once with the given exit code (start-up failures use 1).
[[noreturn]] void EndProcess(int exitCode);
