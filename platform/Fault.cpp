#include "platform/Fault.h"

namespace platform {

namespace {

// The runtime's own texts for the faults this program can meet, so a message box or the command line
// shows the same words the shop saw before.
const char* standardText(int number)
{
    switch (number) {
    case fault::InvalidProcedureCall:
        return "Invalid procedure call or argument";
    case fault::Overflow:
        return "Overflow";
    case fault::SubscriptOutOfRange:
        return "Subscript out of range";
    case fault::DivisionByZero:
        return "Division by zero";
    case fault::TypeMismatch:
        return "Type mismatch";
    case fault::FileNotFound:
        return "File not found";
    case fault::FileAlreadyExists:
        return "File already exists";
    case fault::PathFileAccessError:
        return "Path/File access error";
    case fault::PathNotFound:
        return "Path not found";
    case fault::InvalidUseOfNull:
        return "Invalid use of Null";
    default:
        return "Application-defined or object-defined error";
    }
}

} // namespace

void raise(int number)
{
    throw Fault(number, standardText(number));
}

void raise(int number, const std::string& text)
{
    throw Fault(number, text);
}

} // namespace platform
