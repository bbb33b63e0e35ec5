// The program's messages to the user: a text of the string table in the
// current language, in a message box captioned "Kadrilo" that the main window
// owns, with the main window brought to the foreground first.
#pragma once

#include <string>

#include "platform/Ports.h"
#include "text/Strings.h"

namespace kadrilo {

inline constexpr const char* ProgramCaption = "Kadrilo";

class Messages {
public:
    // `language` is the setting that holds the current language.
    Messages(WindowPort& windows, const int32_t& language) : windows_(windows), language_(language) {}

    std::string Text(int id) const { return LoadStrEx(language_, id); }
    MessageAnswer Show(const std::string& text, unsigned flags) {
        windows_.BringMainToForeground();
        return windows_.ShowMessageBox(text, ProgramCaption, flags);
    }

private:
    WindowPort& windows_;
    const int32_t& language_;
};

}  // namespace kadrilo
