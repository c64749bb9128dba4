#include "estimator/EngineState.h"

#include <iostream>
#include <utility>

namespace estimator {

namespace {

ProcessState& stateInstance()
{
    static ProcessState state;
    return state;
}

std::string& programFolderInstance()
{
    static std::string folder = ".";
    return folder;
}

MessageHandler& messageHandlerInstance()
{
    static MessageHandler handler;
    return handler;
}

} // namespace

ProcessState& processState()
{
    return stateInstance();
}

void resetProcessState()
{
    stateInstance() = ProcessState{};
}

void setProgramFolder(const std::string& folder)
{
    programFolderInstance() = folder;
}

const std::string& programFolder()
{
    return programFolderInstance();
}

void setMessageHandler(MessageHandler handler)
{
    messageHandlerInstance() = std::move(handler);
}

void showMessage(const std::string& text, const std::string& title)
{
    const MessageHandler& handler = messageHandlerInstance();
    if (handler) {
        handler(text, title);
        return;
    }
    std::cerr << title << ": " << text << std::endl;
}

} // namespace estimator
