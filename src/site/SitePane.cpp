#include "SitePane.h"

#include "shell/AppState.h"
#include "GeocodeDialog.h"
#include "SiteEditorCtrl.h"
#include "sitemap/SiteMapMath.h"

#include "model/Building.h"
#include "model/Project.h"
#include "model/Site.h"

#include <wx/choicdlg.h>
#include <wx/msgdlg.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/sizer.h>
#include <wx/textdlg.h>
#include <wx/valtext.h>

SitePane::SitePane(wxWindow* parent, wxRibbonBar* ribbonBar, const std::shared_ptr<bg::Site>& site)
    : KovraPage(parent, RIBBON_PAGE_SITE), site(site), ribbonBar(ribbonBar)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    map = new SiteEditorCtrl(this);
    sizer->Add(map, 1, wxEXPAND | wxALL, 5);
    SetSizer(sizer);
    map->setSite(site);
    bindRibbonEvents(ribbonBar);
    // Registered last: a constructor that throws leaves no entry behind
    // pointing at the freed page.
    getAppState().registerPage(site, this);
}

SitePane::~SitePane()
{
    getAppState().registerPage(site, nullptr);
}

void SitePane::bindRibbonEvents(wxRibbonBar* bar)
{
    bindRibbon(bar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_EXPORT_GPX, &SitePane::onClickExportGpx);
    bindRibbon(bar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_TRANSLATE_BUILDING, &SitePane::onClickTranslateBuilding);
    bindRibbon(bar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_TRANSLATE_MAP, &SitePane::onClickTranslateMap);
    bindRibbon(bar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_ZOOM_IN, &SitePane::onClickZoomIn);
    bindRibbon(bar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_ZOOM_OUT, &SitePane::onClickZoomOut);
    bindRibbon(bar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_ADD_BUILDING, &SitePane::onClickAddBuilding);
    bindRibbon(bar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_SEARCH_LOCATION, &SitePane::onClickSearchLocation);
    bindRibbon(bar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_SET_ORIENTATION, &SitePane::onClickSetOrientation);
    bindRibbon(bar, wxEVT_UPDATE_UI, ID_TRANSLATE_BUILDING, &SitePane::onUpdateTranslate);
    bindRibbon(bar, wxEVT_UPDATE_UI, ID_TRANSLATE_MAP, &SitePane::onUpdateTranslate);
}

void SitePane::onClickExportGpx(wxRibbonButtonBarEvent&)
{
    wxMessageBox("DXF export is broken", wxMessageBoxCaptionStr, wxOK | wxCENTRE, this);
}

void SitePane::onClickTranslateBuilding(wxRibbonButtonBarEvent&)
{
    map->editMode = 1;
}

void SitePane::onClickTranslateMap(wxRibbonButtonBarEvent&)
{
    map->editMode = 0;
}

void SitePane::onClickZoomIn(wxRibbonButtonBarEvent&)
{
    map->zoomIn();
}

void SitePane::onClickZoomOut(wxRibbonButtonBarEvent&)
{
    map->zoomOut();
}

void SitePane::onClickAddBuilding(wxRibbonButtonBarEvent&)
{
    buildingChoices.clear();
    if (const auto& project = getAppState().project)
        buildingChoices.assign(project->buildings.begin(), project->buildings.end());
    if (buildingChoices.empty()) {
        wxMessageBox("The project has no building yet. Create a building first.", "Add building",
                     wxOK | wxCENTRE, this);
        return;
    }
    wxArrayString names;
    for (const auto& building : buildingChoices)
        names.Add(wxString::FromUTF8(building->name));
    wxSingleChoiceDialog dialog(this, "Add building", "Add building", names);
    if (dialog.ShowModal() != wxID_OK)
        return;
    const int chosen = dialog.GetSelection();
    if (chosen < 0 || chosen >= int(buildingChoices.size()))
        return;
    site->building = buildingChoices[std::size_t(chosen)];
    map->Refresh(true);
}

void SitePane::onClickSearchLocation(wxRibbonButtonBarEvent&)
{
    GeocodeDialog dialog(this);
    if (dialog.ShowModal() == wxID_OK)
        map->moveSiteTo(dialog.chosenLatitude, dialog.chosenLongitude);
}

void SitePane::onClickSetOrientation(wxRibbonButtonBarEvent&)
{
    wxTextEntryDialog dialog(this, "Set orientation", "Set orientation",
                             wxString::FromUTF8(sitemap::orientationDegreesText(site->orientation)),
                             wxOK | wxCANCEL | wxCENTRE);
    dialog.SetTextValidator(wxFILTER_NUMERIC);
    if (dialog.ShowModal() != wxID_OK)
        return;
    double orientation = 0.0;
    if (!sitemap::parseOrientationDegrees(dialog.GetValue().ToStdString(), orientation))
        return;
    site->orientation = orientation;
    map->Refresh(false);
}

void SitePane::onUpdateTranslate(wxUpdateUIEvent& event)
{
    if (event.GetId() == ID_TRANSLATE_BUILDING)
        event.Check(map->editMode == 1);
    else if (event.GetId() == ID_TRANSLATE_MAP)
        event.Check(map->editMode == 0);
}
