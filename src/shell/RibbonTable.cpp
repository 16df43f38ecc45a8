#include "RibbonTable.h"

#include <wx/filename.h>
#include <wx/image.h>

namespace {
constexpr auto Normal = RibbonButtonKind::Normal;
constexpr auto Toggle = RibbonButtonKind::Toggle;
constexpr auto Frame = RibbonHandler::Frame;
constexpr auto Page = RibbonHandler::Page;
constexpr auto None = RibbonHandler::None;
} // namespace

const std::vector<RibbonPageEntry>& ribbonTable()
{
    static const std::vector<RibbonPageEntry> table = {
        {"Project", ID_RIBBON_PAGE_PROJECT, false, "",
         {
             {"Kovra Service",
              {
                  {"Kovra Platform", ID_PLATFORM, "new_site.png", Normal, Frame},
                  {"Save Project", ID_PLATFORM_SAVE_PROJECT, "new_site.png", Normal, Frame},
              }},
             {"Files",
              {
                  {"New Project", ID_NEW_PROJECT, "new_project.png", Normal, Frame},
                  {"Load Project", ID_LOAD_PROJECT, "import.png", Normal, Frame},
                  {"Save Project", ID_SAVE_PROJECT, "save_all.png", Normal, Frame},
              }},
             {"Project",
              {
                  {"New Building", ID_NEW_BUILDING, "new_building.png", Normal, Frame},
                  {"New Requirement Set", ID_NEW_REQUIREMENT_SET, "import_requirement_set.png", Normal, Frame},
                  {"Import Requirement Set", ID_IMPORT_REQUIREMENT_SET, "import_requirement_set.png", Normal,
                   Frame},
                  {"New Proposal", ID_NEW_PROPOSAL, "new_proposal.png", Normal, Frame},
                  {"New Site", ID_NEW_SITE, "new_site.png", Normal, Frame},
              }},
             {"App",
              {
                  {"Settings", ID_SETTINGS, "settings.png", Normal, None},
                  {"About", ID_ABOUT, "about.png", Normal, Frame},
              }},
         }},
        {"Building", ID_RIBBON_PAGE_BUILDING, false, "",
         {
             {"New", {{"New building", ID_NEW_BUILDING, "new_building.png", Normal, Frame}}},
             {"Building",
              {
                  {"View all", ID_BUILDING_VIEW_ALL, "colls.png", Normal, Page},
                  {"View one", ID_BUILDING_VIEW_ONE, "cell.png", Normal, Page},
              }},
             {"Project",
              {
                  {"New Requirement Set", ID_NEW_REQUIREMENT_SET, "import_requirement_set.png", Normal, Frame},
                  {"Import Requirement Set", ID_IMPORT_REQUIREMENT_SET, "import_requirement_set.png", Normal,
                   Frame},
                  {"New Proposal", ID_NEW_PROPOSAL, "new_proposal.png", Normal, Frame},
              }},
         }},
        {"Requirements", ID_RIBBON_PAGE_REQUIREMENTS, false, "",
         {
             {"New",
              {
                  {"New Requirement Set", ID_NEW_REQUIREMENT_SET, "import_requirement_set.png", Normal, Frame},
                  {"Import Requirement Set", ID_IMPORT_REQUIREMENT_SET, "import_requirement_set.png", Normal,
                   Frame},
              }},
             {"RequirementSet",
              {
                  {"Add room", ID_ADD_ROOM, "cell.png", Normal, Page},
                  {"Remove room", ID_REMOVE_ROOM, "delete_space.png", Normal, Page},
                  {"Save requirements", ID_SAVE_REQUIREMENTS, "save.png", Normal, Page},
              }},
             {"Project", {{"New Proposal", ID_NEW_PROPOSAL, "new_proposal.png", Normal, Frame}}},
         }},
        {"Proposal", ID_RIBBON_PAGE_PROPOSAL, false, "",
         {
             {"New", {{"New Proposal", ID_NEW_PROPOSAL, "new_proposal.png", Toggle, Frame}}},
             {"Layout",
              {
                  {"Start", ID_LAYOUT_START, "layout_play.png", Normal, Page},
                  {"Continue", ID_LAYOUT_CONTINUE, "layout_play.png", Normal, Page},
                  {"Reset", ID_LAYOUT_RESET, "reset.png", Normal, Page},
              }},
             {"Option", {{"Fill All", ID_FILL_ALL, "full.png", Toggle, Page}}},
             {"View",
              {
                  {"View all", ID_PROPOSAL_VIEW_ALL, "colls.png", Normal, Page},
                  {"View one", ID_PROPOSAL_VIEW_ONE, "cell.png", Normal, Page},
              }},
             {"Export",
              {
                  {"Export proposal", ID_EXPORT_PROPOSAL, "save.png", Normal, Page},
                  {"Export Settings", ID_EXPORT_SETTINGS, "settings.png", Normal, Page},
              }},
             {"Project", {{"New Site", ID_NEW_SITE, "new_site.png", Normal, Frame}}},
         }},
        {"Site", wxID_ANY, true, "Help String",
         {
             {"New", {{"New Site", ID_NEW_SITE, "new_site.png", Normal, Frame}}},
             {"Site",
              {
                  {"Add building", ID_ADD_BUILDING, "add_building.png", Normal, Page},
                  {"Export GPX", ID_EXPORT_GPX, "save.png", Normal, Page},
              }},
             {"Geo Location",
              {
                  {"Search", ID_SEARCH_LOCATION, "search_location.png", Normal, Page},
                  {"Translate building", ID_TRANSLATE_BUILDING, "translate_building.png", Toggle, Page},
                  {"Translate map", ID_TRANSLATE_MAP, "translate_map.png", Toggle, Page},
                  {"Set orientation", ID_SET_ORIENTATION, "rotate.png", Normal, Page},
              }},
             {"Navigation",
              {
                  {"Zoom in", ID_ZOOM_IN, "zoom_in.png", Normal, Page},
                  {"Zoom out", ID_ZOOM_OUT, "zoom_out.png", Normal, Page},
              }},
         }},
    };
    return table;
}

wxString ribbonBitmapPath(const char* file)
{
    wxFileName path("", file);
    path.AppendDir("gfx");
    path.AppendDir("32x32");
    return path.GetFullPath();
}

wxBitmap loadRibbonBitmap(const char* file)
{
    return wxBitmap(ribbonBitmapPath(file), wxBITMAP_TYPE_PNG);
}
