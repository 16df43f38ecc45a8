#include "MainFrame.h"

MainFrame::MainFrame(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos,
                     const wxSize& size)
    : wxFrame(parent, id, title, pos, size)
{
    CreateStatusBar();
}
