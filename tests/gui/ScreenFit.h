#pragma once

// Whether a window shows all its controls on the screen the tests run on:
// every control shown whole (not cut off by its parents, the window or the
// screen), at least as high as it needs, and no one-line control stretched
// to an absurd height or a button to an absurd width. The rule works on
// plain rectangles (fitProblems); controlBoxes gathers them from a window.
// Screen sizes: scripts/test.sh runs the GUI tests at 1280 x 800; the CTest
// entry gui_screen_1920x1080 runs the ScreenFit cases again at 1920 x 1080.

#include <wx/anybutton.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/control.h>
#include <wx/dataview.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/radiobut.h>
#include <wx/scrolwin.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>

#include <string>
#include <vector>

namespace kovra_test {

struct ControlBox {
    std::string name;    // class, label and id, for the message
    wxRect rect;         // on the screen
    wxRect visible;      // the part within every parent's client area (and the screen)
    wxSize best;         // the control's best size
    bool oneLine = false; // a button, one-line field, choice or check box: its height is its text's
    bool button = false;
    bool scrolls = false; // within a scrolled window, which may hide it until scrolled to
};

// What is wrong with the boxes, one line each; empty when all fit.
inline std::vector<std::string> fitProblems(const std::vector<ControlBox>& boxes)
{
    std::vector<std::string> problems;
    for (const ControlBox& box : boxes) {
        if (box.rect.width <= 0 || box.rect.height <= 0)
            continue; // a control laid out to nothing is not shown
        if (!box.scrolls && box.visible != box.rect)
            problems.push_back(box.name + " is cut off: shown " + std::to_string(box.visible.width) + " x " +
                               std::to_string(box.visible.height) + " of " + std::to_string(box.rect.width) + " x " +
                               std::to_string(box.rect.height));
        if (box.rect.height < box.best.y - 2)
            problems.push_back(box.name + " is squeezed: " + std::to_string(box.rect.height) + " high of " +
                               std::to_string(box.best.y));
        if (box.oneLine && box.best.y > 0 && box.rect.height > 2 * box.best.y + 8)
            problems.push_back(box.name + " is stretched: " + std::to_string(box.rect.height) + " high for " +
                               std::to_string(box.best.y));
        if (box.button && box.best.x > 0 && box.rect.width > 4 * box.best.x && box.rect.width > 400)
            problems.push_back(box.name + " is stretched: " + std::to_string(box.rect.width) + " wide for " +
                               std::to_string(box.best.x));
    }
    return problems;
}

inline std::string describeControl(wxWindow* window)
{
    std::string name = window->GetClassInfo() ? wxString(window->GetClassInfo()->GetClassName()).utf8_string() : "window";
    const wxString label = window->GetLabel();
    if (!label.empty())
        name += " \"" + label.utf8_string().substr(0, 40) + "\"";
    return name + " (id " + std::to_string(window->GetId()) + ")";
}

// The boxes of every control shown within top (a frame or dialog), each
// clipped by its parents' client areas and by the screen's.
inline void addControlBoxes(wxWindow* window, const wxRect& clip, bool scrolls, std::vector<ControlBox>& boxes)
{
    for (wxWindow* child : window->GetChildren()) {
        if (!child->IsShown() || child->IsTopLevel())
            continue;
        const wxRect rect = child->GetScreenRect();
        if (auto* control = dynamic_cast<wxControl*>(child)) {
            ControlBox box;
            box.name = describeControl(control);
            box.rect = rect;
            box.visible = rect.Intersect(clip);
            box.best = control->GetBestSize();
            const auto* field = dynamic_cast<wxTextCtrl*>(control);
            box.button = dynamic_cast<wxAnyButton*>(control) != nullptr;
            box.oneLine = box.button || (field && !field->IsMultiLine()) || dynamic_cast<wxChoice*>(control) ||
                          dynamic_cast<wxComboBox*>(control) || dynamic_cast<wxCheckBox*>(control) ||
                          dynamic_cast<wxRadioButton*>(control) || dynamic_cast<wxSpinCtrl*>(control) ||
                          dynamic_cast<wxSpinCtrlDouble*>(control);
            box.scrolls = scrolls;
            boxes.push_back(box);
        }
        const wxRect client(child->ClientToScreen(wxPoint(0, 0)), child->GetClientSize());
        const bool childScrolls = scrolls || dynamic_cast<wxScrolledWindow*>(child) != nullptr ||
                                  dynamic_cast<wxScrolledCanvas*>(child) != nullptr;
        addControlBoxes(child, clip.Intersect(client), childScrolls, boxes);
    }
}

inline std::vector<ControlBox> controlBoxes(wxTopLevelWindow* top)
{
    std::vector<ControlBox> boxes;
    const wxRect screen = wxDisplay(static_cast<const wxWindow*>(top)).GetGeometry();
    const wxRect client(top->ClientToScreen(wxPoint(0, 0)), top->GetClientSize());
    addControlBoxes(top, screen.Intersect(client), false, boxes);
    return boxes;
}

// The column titles of every table shown within window that their columns
// cut: narrower than the title's text in the header's bold font and the
// header's own margins (about 6 pixels a side).
inline std::vector<std::string> cutColumnTitles(wxWindow* window)
{
    std::vector<std::string> cut;
    for (wxWindow* child : window->GetChildren()) {
        if (!child->IsShown() || child->IsTopLevel())
            continue;
        if (auto* table = dynamic_cast<wxDataViewCtrl*>(child)) {
            wxClientDC dc(table);
            dc.SetFont(table->GetFont().Bold());
            for (unsigned i = 0; i < table->GetColumnCount(); ++i) {
                const wxDataViewColumn* column = table->GetColumn(i);
                const int needed = dc.GetTextExtent(column->GetTitle()).x + 12;
                if (!column->IsHidden() && column->GetWidth() < needed)
                    cut.push_back("column \"" + column->GetTitle().utf8_string() + "\" is " +
                                  std::to_string(column->GetWidth()) + " wide for its title's " +
                                  std::to_string(needed));
            }
        }
        const auto inner = cutColumnTitles(child);
        cut.insert(cut.end(), inner.begin(), inner.end());
    }
    return cut;
}

// "<width>x<height>" of the screen, for the screenshots' names.
inline std::string screenSizeName()
{
    const wxRect screen = wxDisplay(0u).GetGeometry();
    return std::to_string(screen.width) + "x" + std::to_string(screen.height);
}

} // namespace kovra_test
