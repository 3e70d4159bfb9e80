#include "title/title_functions.h"

#include "adventure/message_functions.h"
#include "script/call_stack.h"
#include "title/title_command.h"
#include "title/title_data.h"

bool BuiltinMarkSeenScript(const ScriptArguments&) {
    Title::MarkSeenScript(CurrentScriptName());
    return true;
}

bool BuiltinTitleCommand(const ScriptArguments& arguments) {
    HideMessageWindowAtOnce();
    return Title::Command(arguments) != 0;
}
