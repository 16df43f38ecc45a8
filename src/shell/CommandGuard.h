#pragma once

#include <functional>

class wxWindow;

// Runs a command of an event handler and shows the text of any exception it
// throws in a message box over parent, so that no exception leaves the
// handler. Returns whether the command ran to its end.
bool runCommand(wxWindow* parent, const std::function<void()>& command);
