#pragma once

#include <wx/bitmap.h>
#include <wx/clntdata.h>
#include <wx/string.h>

#include <vector>

// The ribbon bar's pages, panels and buttons as data: the main window builds
// its ribbon from this table, and tests walk it.

// The ribbon pages in their creation order; the value is the page's index in
// the ribbon bar and the kind of the workspace page it belongs to.
enum RibbonPage : int {
    RIBBON_PAGE_PROJECT = 0,
    RIBBON_PAGE_BUILDING = 1,
    RIBBON_PAGE_REQUIREMENTS = 2,
    RIBBON_PAGE_PROPOSAL = 3,
    RIBBON_PAGE_SITE = 4,
};

// Window ids of the main window and its ribbon pages.
enum {
    ID_MAIN_FRAME = 20001,
    ID_RIBBON_BAR = 20002,
    ID_MAIN_PANEL = 20003,
    ID_RIBBON_PAGE_PROJECT = 20004,
    ID_RIBBON_PAGE_BUILDING = 20005,
    ID_RIBBON_PAGE_REQUIREMENTS = 20006,
    ID_RIBBON_PAGE_PROPOSAL = 20007,
};

// Command ids of the ribbon buttons. An id on several pages is one command.
enum {
    ID_NEW_PROJECT = 20009,
    ID_NEW_BUILDING = 20010,
    ID_NEW_PROPOSAL = 20011,
    ID_LOAD_PROJECT = 20012,
    ID_SAVE_PROJECT = 20013,
    ID_NEW_REQUIREMENT_SET = 20014,
    ID_IMPORT_REQUIREMENT_SET = 20015,
    ID_NEW_SITE = 20016,
    ID_SETTINGS = 20018,
    ID_ABOUT = 20019,
    ID_PLATFORM_SAVE_PROJECT = 20021,
    ID_PLATFORM = 20022,
    ID_SAVE_REQUIREMENTS = 20027,
    ID_FILL_ALL = 20030,
    ID_LAYOUT_START = 20031,
    ID_LAYOUT_CONTINUE = 20033,
    ID_LAYOUT_RESET = 20034,
    ID_PROPOSAL_VIEW_ALL = 20035,
    ID_PROPOSAL_VIEW_ONE = 20036,
    ID_BUILDING_VIEW_ONE = 20078,
    ID_BUILDING_VIEW_ALL = 20079,
    ID_ADD_ROOM = 20132,
    ID_REMOVE_ROOM = 20134,
    ID_EXPORT_PROPOSAL = 20156,
    ID_EXPORT_SETTINGS = 20161,
    ID_EXPORT_GPX = 20193,
    ID_TRANSLATE_BUILDING = 20194,
    ID_TRANSLATE_MAP = 20195,
    ID_ZOOM_IN = 20196,
    ID_ZOOM_OUT = 20197,
    ID_ADD_BUILDING = 20198,
    ID_SEARCH_LOCATION = 20199,
    ID_SET_ORIENTATION = 20200,
};

enum class RibbonButtonKind { Normal, Toggle };

// Who handles a button's command: the main window (bound on the frame), the
// workspace page of the ribbon page (bound on the ribbon bar), or nobody.
enum class RibbonHandler { Frame, Page, None };

struct RibbonButtonEntry {
    const char* label;
    int id;
    const char* bitmap; // file name in the folder gfx/32x32
    RibbonButtonKind kind;
    RibbonHandler handler;
};

struct RibbonPanelEntry {
    const char* label;
    std::vector<RibbonButtonEntry> buttons;
};

struct RibbonPageEntry {
    const char* label;
    int id; // wxID_ANY for a page without a fixed id
    // The page "Site" passes its texts through the translation lookup and
    // gives its buttons a help text; the others do neither.
    bool translated;
    const char* helpText;
    std::vector<RibbonPanelEntry> panels;
};

// The five ribbon pages in creation order (index = RibbonPage).
const std::vector<RibbonPageEntry>& ribbonTable();

// The path of a ribbon bitmap relative to the working folder.
wxString ribbonBitmapPath(const char* file);

// Reads a ribbon bitmap as PNG; an invalid bitmap when it cannot be read.
wxBitmap loadRibbonBitmap(const char* file);

// Attached to every button of the built ribbon: the table row it was made
// from and whether its bitmap could be read.
struct RibbonButtonData : public wxClientData {
    RibbonButtonData(const RibbonButtonEntry* entry, bool bitmapLoaded) : entry(entry), bitmapLoaded(bitmapLoaded) {}
    const RibbonButtonEntry* entry;
    bool bitmapLoaded;
};
