#pragma once

#include <wx/panel.h>

class wxDataViewTreeCtrl;

// The project tree docked at the left of the main window.
class ProjectPane : public wxPanel {
public:
    enum { ID_PROJECT_PANE = 20028, ID_PROJECT_TREE = 20029 };

    explicit ProjectPane(wxWindow* parent);
    ~ProjectPane() override;

    wxDataViewTreeCtrl* tree = nullptr;
};
