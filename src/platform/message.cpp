#include "platform/message.h"

#include <cstdio>
#include <cstdlib>

namespace {

void PrintMessage(const UserMessage& message) {
    std::fprintf(stderr, "%s: %s\n", message.caption.c_str(), message.text.c_str());
}

MessageHandler handler = PrintMessage;

}  // namespace

void SetMessageHandler(MessageHandler newHandler) { handler = newHandler ? newHandler : PrintMessage; }

void ShowUserMessage(const UserMessage& message) { handler(message); }

void ShowWarning(const std::string& text, const std::string& caption, MessageOwner owner) {
    ShowUserMessage({text, caption, owner, MessageIcon::Warning});
}

void EndProcess(int exitCode) {
    std::fflush(nullptr);
    std::exit(exitCode);
}
