#pragma once

class wxString;
class wxWindow;

// The width a table column gets: the width asked for, widened where its title
// would not show whole (the title's text width plus the header's margins and
// the room of the sort arrow).
int columnWidthForTitle(int askedWidth, int titleTextWidth);

// The room a column header takes beyond its title's text.
constexpr int COLUMN_TITLE_MARGIN = 32;

// The least width of a page's side column of tables on a page pageWidth
// wide: as wide as the tables' columns need (tablesWidth), but never more
// than 45 % of the page, which keeps the drawing beside it the larger part;
// the column's proportional share may be wider still.
int sideColumnWidth(int pageWidth, int tablesWidth);

// columnWidthForTitle for a column of the table, the title measured in the
// header's (bold) font; the width to create the column with.
int titledColumnWidth(wxWindow* table, const wxString& title, int askedWidth);
