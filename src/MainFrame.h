#pragma once

#include <wx/frame.h>

// The application's main window.
class MainFrame : public wxFrame {
public:
    MainFrame(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxSize(1280, 800));
};
