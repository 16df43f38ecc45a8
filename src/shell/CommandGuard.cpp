#include "CommandGuard.h"

#include <wx/msgdlg.h>

#include <exception>

bool runCommand(wxWindow* parent, const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        wxMessageBox(wxString::FromUTF8(error.what()), "Kovra Floorsmith", wxOK | wxICON_ERROR, parent);
    } catch (...) {
        wxMessageBox("An unexpected error stopped the command.", "Kovra Floorsmith", wxOK | wxICON_ERROR, parent);
    }
    return false;
}
