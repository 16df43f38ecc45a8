#include "TableColumns.h"

#include <wx/dcclient.h>
#include <wx/window.h>

#include <algorithm>

int columnWidthForTitle(int askedWidth, int titleTextWidth)
{
    if (titleTextWidth <= 0)
        return askedWidth;
    return std::max(askedWidth, titleTextWidth + COLUMN_TITLE_MARGIN);
}

int sideColumnWidth(int pageWidth, int tablesWidth)
{
    return std::max(0, std::min(tablesWidth, pageWidth * 45 / 100));
}

int titledColumnWidth(wxWindow* table, const wxString& title, int askedWidth)
{
    wxClientDC dc(table);
    dc.SetFont(table->GetFont().Bold());
    return columnWidthForTitle(askedWidth, dc.GetTextExtent(title).x);
}
